#pragma once

#include <string_view>

namespace zelvora::web {

enum class ImageKind { None, Png, Jpeg, Gif, Bmp };

// What the bytes are, judged from their header; None for anything the client cannot draw or would refuse
// as too large.
ImageKind SniffImage(std::string_view bytes);
std::string_view ContentTypeOf(ImageKind kind);

} // namespace zelvora::web
