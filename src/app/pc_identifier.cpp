#include "app/pc_identifier.h"

#include <cstdio>
#include <cstring>

void FormatPcIdentifier(std::uint32_t volumeSerial, char (&out)[20]) {
    std::snprintf(out, sizeof out, "%016lu", static_cast<unsigned long>(volumeSerial));
}

void SetPcIdentifier(const char* text, char (&out)[20]) {
    std::memset(out, 0, sizeof out);
    std::strncpy(out, text, sizeof out - 1);
}
