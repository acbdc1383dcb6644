#include "image_kind.h"

#include <cstddef>
#include <cstdint>

namespace zelvora::web {
namespace {

// Pictures larger than this on either side are refused: nothing the client shows needs more.
constexpr std::uint32_t kMaxSide = 8192;

std::uint32_t Byte(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
    return Byte(bytes, at) << 24 | Byte(bytes, at + 1) << 16 | Byte(bytes, at + 2) << 8 | Byte(bytes, at + 3);
}

std::uint32_t LittleEndian16(std::string_view bytes, std::size_t at) {
    return Byte(bytes, at) | Byte(bytes, at + 1) << 8;
}

bool SideFits(std::uint32_t side) {
    return side >= 1 && side <= kMaxSide;
}

bool IsPng(std::string_view bytes) {
    // Signature, then the IHDR chunk that must come first, with sane dimensions.
    return bytes.size() >= 33 && bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8) &&
           bytes.substr(12, 4) == "IHDR" && SideFits(BigEndian32(bytes, 16)) &&
           SideFits(BigEndian32(bytes, 20));
}

bool IsJpeg(std::string_view bytes) {
    return bytes.size() >= 4 && bytes.substr(0, 3) == "\xFF\xD8\xFF";
}

bool IsGif(std::string_view bytes) {
    return bytes.size() >= 13 && (bytes.substr(0, 6) == "GIF87a" || bytes.substr(0, 6) == "GIF89a") &&
           SideFits(LittleEndian16(bytes, 6)) && SideFits(LittleEndian16(bytes, 8));
}

bool IsBmp(std::string_view bytes) {
    // "BM", then a DIB header of one of the sizes Windows knows.
    if (bytes.size() < 26 || bytes.substr(0, 2) != "BM") {
        return false;
    }
    const std::uint32_t header = LittleEndian16(bytes, 14) | LittleEndian16(bytes, 16) << 16;
    return header == 12 || header == 40 || header == 52 || header == 56 || header == 108 || header == 124;
}

} // namespace

ImageKind SniffImage(std::string_view bytes) {
    if (IsPng(bytes)) {
        return ImageKind::Png;
    }
    if (IsJpeg(bytes)) {
        return ImageKind::Jpeg;
    }
    if (IsGif(bytes)) {
        return ImageKind::Gif;
    }
    if (IsBmp(bytes)) {
        return ImageKind::Bmp;
    }
    return ImageKind::None;
}

std::string_view ContentTypeOf(ImageKind kind) {
    switch (kind) {
    case ImageKind::Png:
        return "image/png";
    case ImageKind::Jpeg:
        return "image/jpeg";
    case ImageKind::Gif:
        return "image/gif";
    case ImageKind::Bmp:
        return "image/bmp";
    case ImageKind::None:
        break;
    }
    return "application/octet-stream";
}

} // namespace zelvora::web
