#pragma once

#include <cstddef>

// An installation picture the client cannot run without, and the box shown when it is missing.
struct RequiredImage {
    const char* fileName;
    const char* boxText;    // the reference shown in the box (UTF-8)
    const char* boxCaption; // the sentence above it (UTF-8)
};

inline constexpr char kMissingNamedFileCaption[] =
    "Le programme va s'arr\xC3\xAAter\ncar il manque le fichier\nREF: ";
inline constexpr char kMissingFileCaption[] =
    "Le programme va s'arr\xC3\xAAter\ncar il manque un fichier\nREF: ";

// Checked in this order before the channel pictures.
inline constexpr RequiredImage kKnobArrowImage{"btn-fleche.bmp", "btn-fleche.bmp", kMissingNamedFileCaption};
inline constexpr RequiredImage kParamsButtonImage{"btn-param.bmp", "btn-param.bmp", kMissingNamedFileCaption};
inline constexpr RequiredImage kDocumentationIcon{"doc_img.bmp", "DOC-IMG", kMissingFileCaption};
inline constexpr RequiredImage kSynthesiserIcon{"synthe_1.bmp", "SYNTHE-IMG", kMissingFileCaption};

// Every channel picture shares one box.
inline constexpr char kChannelImageBoxText[] = "CHANNEL-NUM";

// File name of channel k's picture, "%d.bmp".
void ChannelImageFileName(int channel, char (&out)[16]);
