#include "web/win32/image_decoding.h"

#include "platform/win32/scoped_win.h"
#include "web/picture_extent.h"

#include <objidl.h> // GDI+ needs the COM declarations that the lean Windows header leaves out
#include <gdiplus.h>

#include <cstring>
#include <span>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

constexpr ARGB kOpaqueBlack = 0xFF000000;

// GDI+ for the length of one decode.
class GdiplusRun {
  public:
    GdiplusRun() {
        GdiplusStartupInput input;
        if (GdiplusStartup(&token_, &input, nullptr) != Ok) {
            token_ = 0;
        }
    }
    ~GdiplusRun() {
        if (token_ != 0) {
            GdiplusShutdown(token_);
        }
    }
    GdiplusRun(const GdiplusRun&) = delete;
    GdiplusRun& operator=(const GdiplusRun&) = delete;
    bool Ready() const { return token_ != 0; }

  private:
    ULONG_PTR token_ = 0;
};

// A COM stream over a private copy of the bytes; releasing the stream frees the copy. False on failure.
bool OpenByteStream(std::span<const std::uint8_t> bytes, ScopedComPtr<IStream>& stream) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (memory == nullptr) {
        return false;
    }
    void* target = GlobalLock(memory);
    if (target != nullptr) {
        std::memcpy(target, bytes.data(), bytes.size());
        GlobalUnlock(memory);
        if (SUCCEEDED(CreateStreamOnHGlobal(memory, TRUE, stream.Out()))) {
            return true;
        }
    }
    GlobalFree(memory);
    return false;
}

HBITMAP PngFromStream(IStream* stream) {
    GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromStream(stream, &bitmap) != Ok) {
        return nullptr;
    }
    HBITMAP result = nullptr;
    if (GdipCreateHBITMAPFromBitmap(bitmap, &result, kOpaqueBlack) != Ok) {
        result = nullptr;
    }
    GdipDisposeImage(bitmap);
    return result;
}

// Redraws the image into a 32-bit ARGB bitmap of its size, whatever its own pixel format.
HBITMAP AnyImageFromStream(IStream* stream) {
    GpImage* image = nullptr;
    if (GdipLoadImageFromStream(stream, &image) != Ok) {
        return nullptr;
    }
    HBITMAP result = nullptr;
    UINT width = 0;
    UINT height = 0;
    GpBitmap* argb = nullptr;
    if (GdipGetImageWidth(image, &width) == Ok && GdipGetImageHeight(image, &height) == Ok &&
        GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height), 0, PixelFormat32bppARGB,
                                  nullptr, &argb) == Ok) {
        GpGraphics* graphics = nullptr;
        if (GdipGetImageGraphicsContext(argb, &graphics) == Ok) {
            if (GdipDrawImageRectI(graphics, image, 0, 0, static_cast<INT>(width),
                                   static_cast<INT>(height)) == Ok &&
                GdipCreateHBITMAPFromBitmap(argb, &result, kOpaqueBlack) != Ok) {
                result = nullptr;
            }
            GdipDeleteGraphics(graphics);
        }
        GdipDisposeImage(argb);
    }
    GdipDisposeImage(image);
    return result;
}

template <typename Decoder> HBITMAP Decode(std::span<const std::uint8_t> bytes, Decoder decoder) {
    const GdiplusRun gdiplus;
    if (!gdiplus.Ready()) {
        return nullptr;
    }
    ScopedComPtr<IStream> stream;
    return OpenByteStream(bytes, stream) ? decoder(stream.get()) : nullptr;
}

} // namespace

// Wine's decoders overflow on sides they do not check, so GDI+ sees only what our own reader admits.
HBITMAP DecodePngBitmap(const ResponseBuffer::Lease& response, int size) {
    const std::span<const std::uint8_t> bytes = response.First(size);
    if (AdmitPicture(bytes) != PictureFormat::kPng) {
        return nullptr;
    }
    return Decode(bytes, PngFromStream);
}

HBITMAP DecodeImageBitmap(const ResponseBuffer::Lease& response, int size) {
    const std::span<const std::uint8_t> bytes = response.First(size);
    if (!AdmitPicture(bytes)) {
        return nullptr;
    }
    return Decode(bytes, AnyImageFromStream);
}
