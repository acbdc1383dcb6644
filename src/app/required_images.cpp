#include "app/required_images.h"

#include <cstdio>

void ChannelImageFileName(int channel, char (&out)[16]) {
    std::snprintf(out, sizeof out, "%d.bmp", channel);
}
