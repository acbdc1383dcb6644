#pragma once

#include <cstdint>
#include <optional>
#include <span>

// The picture formats the client draws from the web service, and the service stores.
enum class PictureFormat { kPng, kJpeg, kGif, kBmp };

// What decoding a picture allocates for, as its own header tells: the widest and the tallest of its images,
// and their pixels. A GIF decoder holds all its frames at once, so its pixels are those of all frames
// together, or of the screen they are drawn on when that is larger.
struct PictureExtent {
    PictureFormat format = PictureFormat::kPng;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint64_t pixels = 0;
};

// The largest picture decoded or stored. 250,000,000 pixels admits the largest camera photos (16,320 x 12,240
// from 200-megapixel sensors) at 1 GB a copy at 32 bits per pixel, and keeps even 64 bits per pixel's stride
// x height (2,000,000,000 bytes) below 2^31, where the decoders' 32-bit arithmetic overflows. A side up to
// 32,768 admits panoramas while it bounds a row and what rounding rows and columns up to blocks adds.
inline constexpr std::uint32_t kMaxPictureSide = 32'768;
inline constexpr std::uint64_t kMaxPicturePixels = 250'000'000;

// The extent the header gives; nothing for bytes of another format, or whose header is cut short, malformed
// or gives an image without pixels; also for a JPEG whose scans, each a pass of the decoder over the whole
// image, are more than 1,000 or than 20 passes over a picture of the largest size, and for a GIF of more than
// 10,000 frames.
std::optional<PictureExtent> ReadPictureExtent(std::span<const std::uint8_t> bytes);

// The format of a picture whose header reads whole within the bounds above; nothing for anything else, which
// must never reach a decoder.
std::optional<PictureFormat> AdmitPicture(std::span<const std::uint8_t> bytes);
