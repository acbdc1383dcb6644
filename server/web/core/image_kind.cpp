#include "image_kind.h"

#include "web/picture_extent.h"

#include <cstdint>

namespace zelvora::web {

ImageKind SniffImage(std::string_view bytes) {
    // The client's own header reader: what it would refuse to decode is not stored nor served as a picture.
    const std::optional<PictureFormat> format =
        AdmitPicture(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    if (!format) {
        return ImageKind::None;
    }
    switch (*format) {
    case PictureFormat::kPng:
        return ImageKind::Png;
    case PictureFormat::kJpeg:
        return ImageKind::Jpeg;
    case PictureFormat::kGif:
        return ImageKind::Gif;
    case PictureFormat::kBmp:
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
