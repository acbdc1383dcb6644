#pragma once

#include "session/user_texts.h"

#include <cstddef>

// An installation picture the client cannot run without, and the box shown when it is missing.
struct RequiredImage {
    const char* fileName;
    const char* boxText;    // the reference shown in the box
    const char* boxCaption; // the sentence above it
};

// Checked in this order before the channel pictures.
inline constexpr RequiredImage kKnobArrowImage{"btn-fleche.bmp", "btn-fleche.bmp",
                                               kProgramStopsForMissingNamedFile};
inline constexpr RequiredImage kParamsButtonImage{"btn-param.bmp", "btn-param.bmp",
                                                  kProgramStopsForMissingNamedFile};
inline constexpr RequiredImage kDocumentationIcon{"doc_img.bmp", kDocumentationImageReference,
                                                  kProgramStopsForMissingFile};
inline constexpr RequiredImage kSynthesiserIcon{"synthe_1.bmp", kSynthesiserImageReference,
                                                kProgramStopsForMissingFile};

// File name of channel k's picture, "%d.bmp".
void ChannelImageFileName(int channel, char (&out)[16]);
