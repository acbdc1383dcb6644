#include "audio/win32/audio_wiring.h"

AudioWiring& AudioWindows() {
    static AudioWiring wiring;
    return wiring;
}
