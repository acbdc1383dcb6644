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
inline constexpr RequiredImage kDocumentationIcon{"doc_img.bmp", "DOC-IMG", kProgramStopsForMissingFile};
inline constexpr RequiredImage kSynthesiserIcon{"synthe_1.bmp", "SYNTHE-IMG", kProgramStopsForMissingFile};

// Every channel picture shares one box.
inline constexpr char kChannelImageBoxText[] = "CHANNEL-NUM";

// File name of channel k's picture, "%d.bmp".
void ChannelImageFileName(int channel, char (&out)[16]);
