// WAVE files as the speak subcommand reads them.

#include "core/control_protocol.h"
#include "core/sound_clip.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace zelvora::network;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const SoundClip clip = ConvertWav({data, size});
    if (clip.pcm.empty() == clip.error.empty() || clip.pcm.size() % kPayloadBytes != 0 ||
        clip.pcm.size() > kMaxSoundBytes) {
        std::abort();
    }
    return 0;
}
