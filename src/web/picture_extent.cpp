#include "web/picture_extent.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::array<std::uint8_t, 2> kJpegStart = {0xFF, 0xD8};
constexpr std::array<std::uint8_t, 6> kGif87 = {'G', 'I', 'F', '8', '7', 'a'};
constexpr std::array<std::uint8_t, 6> kGif89 = {'G', 'I', 'F', '8', '9', 'a'};
constexpr std::array<std::uint8_t, 2> kBmpStart = {'B', 'M'};

// Whether `count` bytes from `at` lie within the bytes; every read below is preceded by it.
bool Has(Bytes bytes, std::size_t at, std::size_t count) {
    return at <= bytes.size() && count <= bytes.size() - at;
}

template <std::size_t N>
bool Matches(Bytes bytes, std::size_t at, const std::array<std::uint8_t, N>& expected) {
    return Has(bytes, at, N) && std::equal(expected.begin(), expected.end(), bytes.begin() + at);
}

std::uint32_t BigEndian16(Bytes bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at] << 8 | bytes[at + 1]);
}

std::uint32_t BigEndian32(Bytes bytes, std::size_t at) {
    return BigEndian16(bytes, at) << 16 | BigEndian16(bytes, at + 2);
}

std::uint32_t LittleEndian16(Bytes bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t LittleEndian32(Bytes bytes, std::size_t at) {
    return LittleEndian16(bytes, at) | LittleEndian16(bytes, at + 2) << 16;
}

// One image of the given sides; nothing when it has no pixels.
std::optional<PictureExtent> SingleImage(PictureFormat format, std::uint32_t width, std::uint32_t height) {
    if (width == 0 || height == 0) {
        return std::nullopt;
    }
    return PictureExtent{format, width, height, std::uint64_t{width} * height};
}

// The signature, then IHDR, which must come first: 13 bytes of data and its CRC.
std::optional<PictureExtent> ReadPng(Bytes bytes) {
    constexpr std::array<std::uint8_t, 4> kHeaderChunk = {'I', 'H', 'D', 'R'};
    constexpr std::uint32_t kHeaderLength = 13;
    if (!Has(bytes, 0, 8 + 8 + kHeaderLength + 4) || BigEndian32(bytes, 8) != kHeaderLength ||
        !Matches(bytes, 12, kHeaderChunk)) {
        return std::nullopt;
    }
    return SingleImage(PictureFormat::kPng, BigEndian32(bytes, 16), BigEndian32(bytes, 20));
}

// The next marker's code from `at` as the JPEG decoder finds it, skipping stray bytes, fill bytes and
// FF 00; `at` moves past the code. Nothing when the bytes end first.
std::optional<std::uint8_t> NextJpegMarker(Bytes bytes, std::size_t& at) {
    while (true) {
        while (at < bytes.size() && bytes[at] != 0xFF) {
            ++at;
        }
        while (at < bytes.size() && bytes[at] == 0xFF) {
            ++at;
        }
        if (at >= bytes.size()) {
            return std::nullopt;
        }
        const std::uint8_t code = bytes[at++];
        if (code != 0) {
            return code;
        }
    }
}

// SOF0 to SOF15, all frame kinds (baseline, extended, progressive, lossless, arithmetic), but DHT, JPG and
// DAC that share their range.
bool IsFrameMarker(std::uint8_t code) {
    return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

// RST0 to RST7 and TEM carry no length.
bool IsStandaloneMarker(std::uint8_t code) {
    return (code >= 0xD0 && code <= 0xD7) || code == 0x01;
}

// Walks the segments after SOI, skipping the entropy-coded data between them: the frame header gives the
// sides the decoder sizes everything by, and each scan costs the decoder a pass over the whole image.
std::optional<PictureExtent> ReadJpeg(Bytes bytes) {
    constexpr std::uint8_t kStartOfImage = 0xD8;
    constexpr std::uint8_t kEndOfImage = 0xD9;
    constexpr std::uint8_t kStartOfScan = 0xDA;
    constexpr std::uint32_t kMaxComponents = 4; // grey, colour or CMYK: all a decoder turns into pixels
    // Progressive pictures have about ten scans, each a pass over the whole image (0.3 s under Wine at the
    // largest size): at most 1,000, and no more than 20 passes over a picture of the largest size.
    constexpr std::uint64_t kMaxScans = 1'000;
    constexpr std::uint64_t kMaxScannedPixels = 20 * kMaxPicturePixels;
    std::optional<PictureExtent> frame;
    std::uint64_t scans = 0;
    std::size_t at = kJpegStart.size();
    while (const std::optional<std::uint8_t> code = NextJpegMarker(bytes, at)) {
        if (*code == kEndOfImage) {
            break;
        }
        if (*code == kStartOfImage ||
            (*code == kStartOfScan &&
             (!frame || ++scans > kMaxScans || scans * frame->pixels > kMaxScannedPixels))) {
            return std::nullopt;
        }
        if (IsStandaloneMarker(*code)) {
            continue;
        }
        if (!Has(bytes, at, 2)) {
            return std::nullopt;
        }
        const std::uint32_t length = BigEndian16(bytes, at); // counts its own two bytes
        if (length < 2 || !Has(bytes, at, length)) {
            return std::nullopt;
        }
        if (IsFrameMarker(*code)) {
            // Length, precision, height, width, component count, then three bytes per component; one frame.
            const std::uint32_t components = length >= 8 ? bytes[at + 7] : 0;
            if (frame || components == 0 || components > kMaxComponents || length != 8 + 3 * components) {
                return std::nullopt;
            }
            frame = SingleImage(PictureFormat::kJpeg, BigEndian16(bytes, at + 5), BigEndian16(bytes, at + 3));
            if (!frame) {
                return std::nullopt;
            }
        }
        at += length;
    }
    return frame; // data cut short after the frame is decoded as far as it goes
}

// A GIF colour table's size from the flags of the screen or of an image.
std::size_t GifColourTableBytes(std::uint8_t flags) {
    return (flags & 0x80) != 0 ? std::size_t{3} << ((flags & 0x07) + 1) : 0;
}

// Moves `at` past a run of data sub-blocks and its empty terminator; false when the bytes end first.
bool SkipGifSubBlocks(Bytes bytes, std::size_t& at) {
    while (at < bytes.size()) {
        const std::uint8_t size = bytes[at++];
        if (size == 0) {
            return true;
        }
        at += size;
    }
    return false;
}

// The screen, then every block to the trailer: the decoder reads all frames before showing the first.
std::optional<PictureExtent> ReadGif(Bytes bytes) {
    // Animations have hundreds of frames; each costs the decoder about 50 us however small it is.
    constexpr std::uint32_t kMaxFrames = 10'000;
    constexpr std::size_t kScreenEnd = 13;
    constexpr std::uint8_t kExtension = 0x21;
    constexpr std::uint8_t kImage = 0x2C;
    constexpr std::uint8_t kTrailer = 0x3B;
    constexpr std::size_t kImageDescriptor = 9;
    if (!Has(bytes, 0, kScreenEnd)) {
        return std::nullopt;
    }
    const std::optional<PictureExtent> screen =
        SingleImage(PictureFormat::kGif, LittleEndian16(bytes, 6), LittleEndian16(bytes, 8));
    if (!screen) {
        return std::nullopt;
    }
    PictureExtent extent = *screen;
    std::uint64_t framePixels = 0;
    std::uint32_t frames = 0;
    std::size_t at = kScreenEnd + GifColourTableBytes(bytes[10]);
    while (at < bytes.size()) {
        const std::uint8_t block = bytes[at++];
        if (block == kTrailer) {
            if (framePixels == 0) {
                return std::nullopt; // nothing to show
            }
            extent.pixels = std::max(screen->pixels, framePixels);
            return extent;
        }
        if (block == kExtension) {
            ++at; // its label
        } else if (block == kImage && Has(bytes, at, kImageDescriptor) && ++frames <= kMaxFrames) {
            const std::optional<PictureExtent> frame = SingleImage(
                PictureFormat::kGif, LittleEndian16(bytes, at + 4), LittleEndian16(bytes, at + 6));
            if (!frame) {
                return std::nullopt;
            }
            extent.width = std::max(extent.width, frame->width);
            extent.height = std::max(extent.height, frame->height);
            framePixels += frame->pixels;
            at += kImageDescriptor + GifColourTableBytes(bytes[at + 8]) + 1; // and the LZW code size
        } else {
            return std::nullopt;
        }
        if (!SkipGifSubBlocks(bytes, at)) {
            return std::nullopt;
        }
    }
    return std::nullopt; // cut before the trailer
}

// The file header, then an information header of a size Windows knows, read whole.
std::optional<PictureExtent> ReadBmp(Bytes bytes) {
    constexpr std::size_t kFileHeader = 14;
    constexpr std::uint32_t kCoreHeader = 12;
    // None, RLE8, RLE4 or bit fields: an embedded JPEG or PNG would bring sides of its own.
    constexpr std::uint32_t kLastCompression = 3;
    if (!Has(bytes, kFileHeader, 4)) {
        return std::nullopt;
    }
    const std::uint32_t header = LittleEndian32(bytes, kFileHeader);
    if (!Has(bytes, kFileHeader, header)) {
        return std::nullopt;
    }
    if (header == kCoreHeader) {
        return SingleImage(PictureFormat::kBmp, LittleEndian16(bytes, 18), LittleEndian16(bytes, 20));
    }
    if (header != 40 && header != 52 && header != 56 && header != 108 && header != 124) {
        return std::nullopt;
    }
    const auto width = static_cast<std::int32_t>(LittleEndian32(bytes, 18));
    const auto height = static_cast<std::int32_t>(LittleEndian32(bytes, 22));
    if (width < 0 || LittleEndian32(bytes, 30) > kLastCompression) {
        return std::nullopt;
    }
    // A negative height stores the rows top-down.
    const std::int64_t rows = height < 0 ? -std::int64_t{height} : std::int64_t{height};
    return SingleImage(PictureFormat::kBmp, static_cast<std::uint32_t>(width),
                       static_cast<std::uint32_t>(rows));
}

} // namespace

std::optional<PictureExtent> ReadPictureExtent(std::span<const std::uint8_t> bytes) {
    if (Matches(bytes, 0, kPngSignature)) {
        return ReadPng(bytes);
    }
    if (Matches(bytes, 0, kJpegStart)) {
        return ReadJpeg(bytes);
    }
    if (Matches(bytes, 0, kGif87) || Matches(bytes, 0, kGif89)) {
        return ReadGif(bytes);
    }
    if (Matches(bytes, 0, kBmpStart)) {
        return ReadBmp(bytes);
    }
    return std::nullopt;
}

std::optional<PictureFormat> AdmitPicture(std::span<const std::uint8_t> bytes) {
    const std::optional<PictureExtent> extent = ReadPictureExtent(bytes);
    if (!extent || extent->width > kMaxPictureSide || extent->height > kMaxPictureSide ||
        extent->pixels > kMaxPicturePixels) {
        return std::nullopt;
    }
    return extent->format;
}
