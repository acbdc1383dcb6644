// The picture header reader against hostile headers of each format, and the bound it applies.

#include "web/picture_extent.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Text(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

Bytes operator+(Bytes left, const Bytes& right) {
    left.insert(left.end(), right.begin(), right.end());
    return left;
}

Bytes BigEndian(std::uint32_t value, int size) {
    Bytes bytes;
    for (int shift = 8 * (size - 1); shift >= 0; shift -= 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
    return bytes;
}

Bytes LittleEndian(std::uint32_t value, int size) {
    Bytes bytes;
    for (int i = 0; i < size; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    return bytes;
}

std::optional<PictureExtent> Read(const Bytes& bytes) {
    return ReadPictureExtent(bytes);
}

bool Admitted(const Bytes& bytes) {
    return AdmitPicture(bytes).has_value();
}

// Every prefix shorter than the whole is refused.
void ExpectEveryCutRefused(const Bytes& whole) {
    for (std::size_t size = 0; size < whole.size(); ++size) {
        EXPECT_EQ(Read(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size))), std::nullopt)
            << size;
    }
}

void ExpectSides(const Bytes& bytes, PictureFormat format, std::uint32_t width, std::uint32_t height) {
    const std::optional<PictureExtent> extent = Read(bytes);
    ASSERT_TRUE(extent.has_value());
    EXPECT_EQ(extent->format, format);
    EXPECT_EQ(extent->width, width);
    EXPECT_EQ(extent->height, height);
}

Bytes Png(std::uint32_t width, std::uint32_t height) {
    return Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A} + BigEndian(13, 4) + Text("IHDR") +
           BigEndian(width, 4) + BigEndian(height, 4) + Bytes{8, 6, 0, 0, 0} + Bytes(4, 0xCC);
}

TEST(PictureExtent, PngSidesComeFromItsFirstChunkWithinTheBound) {
    ExpectSides(Png(640, 480), PictureFormat::kPng, 640, 480);
    ExpectEveryCutRefused(Png(640, 480));
    Bytes otherChunk = Png(640, 480);
    otherChunk[12] = 'i';
    for (const Bytes& malformed : {otherChunk, Png(0, 480), Png(640, 0)}) {
        EXPECT_EQ(Read(malformed), std::nullopt);
    }
    EXPECT_TRUE(Admitted(Png(16'320, 12'240))); // a 200-megapixel sensor
    EXPECT_TRUE(Admitted(Png(kMaxPictureSide, 7'629)));
    EXPECT_FALSE(Admitted(Png(kMaxPictureSide + 1, 1)));
    EXPECT_FALSE(Admitted(Png(16'384, 16'384))); // sides within bound, pixels not
    EXPECT_FALSE(Admitted(Png(60'000, 60'000)));
}

Bytes Segment(std::uint8_t code, const Bytes& payload) {
    return Bytes{0xFF, code} + BigEndian(static_cast<std::uint32_t>(payload.size() + 2), 2) + payload;
}

Bytes Frame(std::uint8_t code, std::uint32_t width, std::uint32_t height, std::uint8_t components = 3) {
    Bytes payload = Bytes{8} + BigEndian(height, 2) + BigEndian(width, 2) + Bytes{components};
    for (std::uint8_t c = 1; c <= components; ++c) {
        payload = payload + Bytes{c, 0x11, 0};
    }
    return Segment(code, payload);
}

const Bytes kStartOfImage = {0xFF, 0xD8};
const Bytes kScan = Segment(0xDA, {1, 1, 0, 0, 63, 0}) + Bytes{0x12, 0x34, 0xFF, 0x00, 0x56};

TEST(PictureExtent, JpegSidesComeFromTheFirstFrameOfAnyKindAfterJunkMarkers) {
    for (std::uint8_t code : std::initializer_list<std::uint8_t>{0xC0, 0xC1, 0xC2, 0xC3, 0xC5, 0xC6, 0xC7,
                                                                 0xC9, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF}) {
        ExpectSides(kStartOfImage + Frame(code, 4000, 3000) + kScan, PictureFormat::kJpeg, 4000, 3000);
    }
    ExpectEveryCutRefused(kStartOfImage + Frame(0xC2, 4000, 3000));
    // A thumbnail's frame inside APP1, a table in the frame markers' range, a restart marker, fill bytes and
    // stray bytes come before the real frame, which alone counts.
    const Bytes decoy = Frame(0xC0, 60'000, 60'000);
    const Bytes junk = Segment(0xE1, Text("Exif") + decoy) +
                       Segment(0xC4, Bytes{0, 0xEA, 0x60, 0xEA, 0x60, 3}) + Bytes{0xFF, 0xD3, 0xFF, 0xFF} +
                       Segment(0xDB, Bytes(65, 1)) + Bytes{0x42, 0xFF, 0x00};
    ExpectSides(kStartOfImage + junk + Frame(0xC2, 800, 600) + kScan, PictureFormat::kJpeg, 800, 600);
    EXPECT_FALSE(Admitted(kStartOfImage + junk + decoy + kScan));
}

TEST(PictureExtent, JpegWithoutAWellFormedFrameBeforeItsDataIsRefused) {
    const Bytes refused[] = {
        kStartOfImage + kScan + Frame(0xC0, 800, 600),                     // data before any frame
        kStartOfImage + Bytes{0xFF, 0xD9} + Frame(0xC0, 8, 8),             // ended first
        kStartOfImage + Bytes{0xFF, 0xE0, 0x00, 0x01} + Frame(0xC0, 8, 8), // a length below its own two bytes
        kStartOfImage + Bytes{0xFF, 0xE0, 0x10, 0x00} + Frame(0xC0, 8, 8), // a segment past the end
        kStartOfImage + Frame(0xC0, 800, 0), // the height left to a later marker
        kStartOfImage + Frame(0xC0, 800, 600, 5),
    };
    for (const Bytes& bytes : refused) {
        EXPECT_EQ(Read(bytes), std::nullopt);
    }
    EXPECT_EQ(Read(kStartOfImage + Frame(0xC0, 8, 8) + Frame(0xC0, 8, 8)), std::nullopt);
}

// `count` scans, each with a restart marker within its data, after a frame of the given sides.
Bytes Scans(std::uint32_t width, std::uint32_t height, int count) {
    Bytes bytes = kStartOfImage + Frame(0xC2, width, height);
    for (int i = 0; i < count; ++i) {
        bytes = bytes + kScan + Bytes{0xFF, 0xD0, 0x12};
    }
    return bytes + Bytes{0xFF, 0xD9};
}

TEST(PictureExtent, JpegScansAreBoundedInNumberAndInPassesOverTheImage) {
    EXPECT_TRUE(Admitted(Scans(800, 600, 1'000)));
    EXPECT_FALSE(Admitted(Scans(800, 600, 1'001)));
    EXPECT_TRUE(Admitted(Scans(16'000, 15'000, 20)));
    EXPECT_FALSE(Admitted(Scans(16'000, 15'000, 21)));
}

constexpr std::uint32_t kRle8 = 1;

Bytes BmpFileHeader() {
    return Text("BM") + LittleEndian(0, 4) + LittleEndian(0, 4) + LittleEndian(54, 4);
}

// An information header of `size` bytes (40 and more), zero after the compression field.
Bytes Bmp(std::int32_t width, std::int32_t height, std::uint32_t compression = 0, std::uint32_t size = 40) {
    Bytes header = LittleEndian(size, 4) + LittleEndian(static_cast<std::uint32_t>(width), 4) +
                   LittleEndian(static_cast<std::uint32_t>(height), 4) + LittleEndian(1, 2) +
                   LittleEndian(8, 2) + LittleEndian(compression, 4);
    header.resize(size, 0);
    return BmpFileHeader() + header;
}

TEST(PictureExtent, BmpSidesComeFromEveryHeaderKindAndTopDownRowsCount) {
    for (std::uint32_t size : {40u, 52u, 56u, 108u, 124u}) {
        ExpectSides(Bmp(640, -480, kRle8, size), PictureFormat::kBmp, 640, 480);
    }
    const Bytes core = BmpFileHeader() + LittleEndian(12, 4) + LittleEndian(300, 2) + LittleEndian(200, 2) +
                       LittleEndian(1, 2) + LittleEndian(24, 2);
    ExpectSides(core, PictureFormat::kBmp, 300, 200);
    ExpectEveryCutRefused(core);
    ExpectEveryCutRefused(Bmp(640, 480, 0, 124));

    // The 1,080-byte RLE8 bitmap claiming 20,000 x 20,000 that froze the canvas.
    Bytes rle = Bmp(20'000, 20'000, kRle8);
    rle.resize(1'080, 0);
    EXPECT_FALSE(Admitted(rle));
    EXPECT_FALSE(Admitted(Bmp(1, INT32_MIN)));
    Bytes endless = Bmp(640, 480);
    endless[14] = endless[15] = endless[16] = endless[17] = 0xFF; // an information header of 4 GB
    for (const Bytes& bytes :
         {Bmp(-640, 480), Bmp(640, 0), Bmp(640, 480, 4), Bmp(640, 480, 0, 64), endless}) {
        EXPECT_EQ(Read(bytes), std::nullopt);
    }
}

Bytes GifScreen(std::uint32_t width, std::uint32_t height, std::uint8_t flags = 0) {
    return Text("GIF89a") + LittleEndian(width, 2) + LittleEndian(height, 2) + Bytes{flags, 0, 0};
}

// An image descriptor with its code size and one sub-block of data.
Bytes GifImage(std::uint32_t width, std::uint32_t height, std::uint8_t flags = 0) {
    Bytes image =
        Bytes{0x2C} + LittleEndian(0, 4) + LittleEndian(width, 2) + LittleEndian(height, 2) + Bytes{flags};
    if ((flags & 0x80) != 0) {
        image = image + Bytes(3u << ((flags & 7) + 1), 0x77);
    }
    return image + Bytes{2, 3, 0x44, 0x01, 0x2C, 0};
}

const Bytes kGifControl = {0x21, 0xF9, 4, 0, 10, 0, 0, 0};
const Bytes kGifTrailer = {0x3B};

TEST(PictureExtent, GifCountsEveryFrameOverItsColourTablesAndExtensions) {
    const Bytes still = GifScreen(640, 480, 0x87) + Bytes(768, 0x3B) + GifImage(640, 480) + kGifTrailer;
    ExpectSides(still, PictureFormat::kGif, 640, 480);
    ExpectEveryCutRefused(still);
    const Bytes animated = GifScreen(100, 100) + kGifControl + GifImage(100, 100, 0x81) + GifImage(300, 50) +
                           Bytes{0x21, 0xFE, 2, 'h', 'i', 0} + GifImage(10, 10) + kGifTrailer;
    const std::optional<PictureExtent> extent = Read(animated);
    ASSERT_TRUE(extent.has_value());
    EXPECT_EQ(extent->width, 300u);
    EXPECT_EQ(extent->height, 100u);
    EXPECT_EQ(extent->pixels, 100u * 100 + 300 * 50 + 10 * 10);
}

TEST(PictureExtent, HostileGifsAndOtherFormatsAreRefused) {
    EXPECT_FALSE(Admitted(GifScreen(65'535, 65'535) + GifImage(1, 1) + kGifTrailer));
    EXPECT_FALSE(Admitted(GifScreen(1, 1) + GifImage(65'535, 65'535) + kGifTrailer));
    // Five frames of 100,000,000 pixels, each within bound alone, are held together.
    EXPECT_TRUE(Admitted(GifScreen(10'000, 10'000) + GifImage(10'000, 10'000) + kGifTrailer));
    Bytes five = GifScreen(10'000, 10'000);
    for (int i = 0; i < 5; ++i) {
        five = five + GifImage(10'000, 10'000);
    }
    EXPECT_FALSE(Admitted(five + kGifTrailer));
    Bytes frames = GifScreen(1, 1);
    const Bytes frame = GifImage(1, 1);
    for (int i = 0; i < 10'000; ++i) {
        frames.insert(frames.end(), frame.begin(), frame.end());
    }
    EXPECT_TRUE(Admitted(frames + kGifTrailer));
    EXPECT_FALSE(Admitted(frames + GifImage(1, 1) + kGifTrailer));
    const Bytes malformed[] = {
        GifScreen(10, 10) + GifImage(0, 1) + kGifTrailer,
        GifScreen(10, 10) + kGifTrailer,                                // no image
        GifScreen(10, 10) + Bytes{0x99} + GifImage(1, 1) + kGifTrailer, // an unknown block
        Text("Salut"),
        Text("II*") + Bytes(100, 0), // TIFF
    };
    for (const Bytes& bytes : malformed) {
        EXPECT_EQ(Read(bytes), std::nullopt);
    }
}

} // namespace
