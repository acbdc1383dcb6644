#pragma once

#include <cstddef>
#include <cstdint>

// Where the voice receiver puts the speech it accepts: the playback queue the audio thread plays from.
class SpeechSink {
  public:
    // Empties it, with the silence that goes ahead of the first sound.
    virtual void Reset() = 0;
    // Appends one payload; a null or short payload plays its missing part as silence.
    virtual void Append(const std::uint8_t* bytes, std::size_t count) = 0;

  protected:
    ~SpeechSink() = default;
};
