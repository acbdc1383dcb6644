#include "app/led_container.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutU16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void PutU32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

// A bottom-up 24-bit BMP of width x height with no colour table.
Bytes MakeBmp(std::int32_t width, std::int32_t height) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 24 + 31) / 32 * 4;
    const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
    Bytes b(54 + stride * rows, 0);
    b[0] = 'B';
    b[1] = 'M';
    PutU32(b, 2, static_cast<std::uint32_t>(b.size()));
    PutU32(b, 10, 54);
    PutU32(b, 14, 40);
    PutU32(b, 18, static_cast<std::uint32_t>(width));
    PutU32(b, 22, static_cast<std::uint32_t>(height));
    PutU16(b, 26, 1);
    PutU16(b, 28, 24);
    return b;
}

struct Entry {
    Entry(std::string entryName, Bytes entryData, std::optional<std::uint32_t> recordedOffset = {},
          std::optional<std::uint32_t> recordedLength = {})
        : name(std::move(entryName)), data(std::move(entryData)), offset(recordedOffset),
          length(recordedLength) {}
    std::string name;
    Bytes data;
    std::optional<std::uint32_t> offset; // recorded instead of the real offset
    std::optional<std::uint32_t> length; // recorded instead of the real length
};

Bytes MakeContainer(const std::vector<Entry>& entries, std::uint32_t count) {
    Bytes b(4 + 40 * entries.size(), 0);
    PutU32(b, 0, count);
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const Entry& e = entries[k];
        const std::size_t record = 4 + 40 * k;
        // Names longer than the field are written unterminated, the way a hostile file would.
        std::copy_n(e.name.begin(), std::min<std::size_t>(e.name.size(), 32),
                    b.begin() + static_cast<std::ptrdiff_t>(record));
        PutU32(b, record + 32, e.offset.value_or(static_cast<std::uint32_t>(b.size())));
        PutU32(b, record + 36, e.length.value_or(static_cast<std::uint32_t>(e.data.size())));
        b.insert(b.end(), e.data.begin(), e.data.end());
    }
    return b;
}

Bytes MakeContainer(const std::vector<Entry>& entries) {
    return MakeContainer(entries, static_cast<std::uint32_t>(entries.size()));
}

// Width of the found bitmap, read back from its information header; 0 when nothing was found.
std::int32_t FoundWidth(const Bytes& container, const char* name) {
    const auto bitmap = FindContainerBitmap(container, name);
    if (!bitmap) {
        return 0;
    }
    const auto& h = bitmap->header;
    return static_cast<std::int32_t>(h[4] | h[5] << 8 | h[6] << 16 | h[7] << 24);
}

TEST(LedContainer, FindsEveryEntryOfAValidContainer) {
    const Bytes file = MakeContainer({{"LedRed.bmp", MakeBmp(11, 11)},
                                      {"LedGreen.bmp", MakeBmp(12, 12)},
                                      {"LedBlue.bmp", MakeBmp(13, 13)}});
    EXPECT_EQ(FoundWidth(file, "LedRed.bmp"), 11);
    EXPECT_EQ(FoundWidth(file, "LedGreen.bmp"), 12);
    EXPECT_EQ(FoundWidth(file, "LedBlue.bmp"), 13);

    const auto blue = FindContainerBitmap(file, "LedBlue.bmp");
    ASSERT_TRUE(blue);
    EXPECT_EQ(blue->header.size(), 40u);
    EXPECT_EQ(blue->pixels.size(), 13u * 40u); // 13 rows of 39 bytes padded to 40
    EXPECT_EQ(blue->pixels.data() + blue->pixels.size(), file.data() + file.size());
}

TEST(LedContainer, NameMatchingAndEntryCount) {
    std::vector<Entry> twenty;
    for (int i = 0; i < 20; ++i) {
        twenty.push_back({"Filler" + std::to_string(i), MakeBmp(2, 2)});
    }
    twenty.back() = {"LedRed.bmp", MakeBmp(7, 7)};
    std::vector<Entry> twentyOne = twenty;
    twentyOne.push_back({"Extra", MakeBmp(2, 2)});

    const std::string thirtyTwo(32, 'A');

    const struct {
        const char* what;
        Bytes file;
        std::string name;
        std::int32_t width;
    } cases[] = {
        {"twenty entries are read", MakeContainer(twenty), "LedRed.bmp", 7},
        {"twenty-one entries load nothing", MakeContainer(twentyOne), "LedRed.bmp", 0},
        {"count far beyond the table", MakeContainer({{"LedRed.bmp", MakeBmp(7, 7)}}, 0xFFFFFFFF),
         "LedRed.bmp", 0},
        {"missing name", MakeContainer({{"LedRed.bmp", MakeBmp(7, 7)}}), "LedYellow.bmp", 0},
        {"case matters", MakeContainer({{"ledred.bmp", MakeBmp(7, 7)}}), "LedRed.bmp", 0},
        {"prefix is not a match", MakeContainer({{"LedRed.bmpx", MakeBmp(7, 7)}}), "LedRed.bmp", 0},
        {"duplicate names: first wins",
         MakeContainer({{"LedRed.bmp", MakeBmp(3, 3)}, {"LedRed.bmp", MakeBmp(4, 4)}}), "LedRed.bmp", 3},
        {"unterminated name matches nothing", MakeContainer({{thirtyTwo + "B", MakeBmp(9, 9)}}), thirtyTwo,
         0},
        {"empty file", Bytes{}, "LedRed.bmp", 0},
        {"count cut short", Bytes{1, 0}, "LedRed.bmp", 0},
        {"count without records", Bytes{1, 0, 0, 0}, "LedRed.bmp", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FoundWidth(c.file, c.name.c_str()), c.width) << c.what;
    }
}

TEST(LedContainer, UnsoundEntriesAreSkipped) {
    auto withBadFirst = [](Entry bad) {
        bad.name = "LedRed.bmp";
        return MakeContainer({bad, {"LedRed.bmp", MakeBmp(5, 5)}});
    };
    Bytes noMagic = MakeBmp(3, 3);
    noMagic[0] = 'X';
    Bytes truncated = MakeContainer({{"LedRed.bmp", MakeBmp(6, 6)}});
    truncated.resize(truncated.size() - 1);

    const struct {
        const char* what;
        Bytes file;
        std::int32_t width;
    } cases[] = {
        {"offset past the end", withBadFirst({"", MakeBmp(3, 3), 1u << 20, {}}), 5},
        {"length past the end", withBadFirst({"", MakeBmp(3, 3), {}, 1u << 20}), 5},
        {"offset and length wrap around", withBadFirst({"", MakeBmp(3, 3), 0xFFFFFFF0u, 0x20u}), 5},
        {"entry is not a BMP", withBadFirst({"", noMagic, {}, {}}), 5},
        {"entry shorter than its pixels", withBadFirst({"", MakeBmp(3, 3), {}, 54u + 12u * 3u - 1u}), 5},
        {"truncated file", truncated, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FoundWidth(c.file, "LedRed.bmp"), c.width) << c.what;
    }
}

TEST(LedContainer, BmpHeaderChecks) {
    struct Edit {
        std::size_t at;
        std::uint32_t value;
        int width; // bytes written: 2 or 4
    };
    const struct {
        const char* what;
        Edit edit;
        bool accepted;
    } cases[] = {
        {"untouched", {0, 'B', 1}, true},
        {"top-down rows", {22, static_cast<std::uint32_t>(-4), 4}, true},
        {"no BM", {1, 'X', 1}, false},
        {"pixel offset inside the header", {10, 50, 4}, false},
        {"pixel offset beyond the entry", {10, 0x7FFFFFFF, 4}, false},
        {"info header beyond the entry", {14, 0x10000, 4}, false},
        {"info header too small", {14, 12, 4}, false},
        {"zero width", {18, 0, 4}, false},
        {"negative width", {18, static_cast<std::uint32_t>(-4), 4}, false},
        {"huge width", {18, 0x7FFFFFFF, 4}, false},
        {"zero height", {22, 0, 4}, false},
        {"most negative height", {22, 0x80000000, 4}, false},
        {"two planes", {26, 2, 2}, false},
        {"odd bit count", {28, 7, 2}, false},
        {"run-length compression", {30, 1, 4}, false},
        {"colour table beyond the pixel offset", {46, 0xFFFFFFFF, 4}, false},
        {"pixels need more rows than present", {22, 5, 4}, false},
    };
    for (const auto& c : cases) {
        Bytes bmp = MakeBmp(4, 4);
        if (c.edit.width == 1) {
            bmp[c.edit.at] = static_cast<std::uint8_t>(c.edit.value);
        } else if (c.edit.width == 2) {
            PutU16(bmp, c.edit.at, c.edit.value);
        } else {
            PutU32(bmp, c.edit.at, c.edit.value);
        }
        EXPECT_EQ(ParseBmp(bmp).has_value(), c.accepted) << c.what;
    }
}

TEST(LedContainer, PalettesAndMasksMustFitBeforeThePixels) {
    // An 8-bit BMP needs its 256-colour table between the header and the pixels.
    Bytes paletted(54 + 1024 + 4 * 4, 0);
    paletted[0] = 'B';
    paletted[1] = 'M';
    PutU32(paletted, 10, 54 + 1024);
    PutU32(paletted, 14, 40);
    PutU32(paletted, 18, 4);
    PutU32(paletted, 22, 4);
    PutU16(paletted, 26, 1);
    PutU16(paletted, 28, 8);
    const auto withTable = ParseBmp(paletted);
    ASSERT_TRUE(withTable);
    EXPECT_EQ(withTable->header.size(), 40u + 1024u);

    PutU32(paletted, 10, 54 + 1020); // one colour short
    EXPECT_FALSE(ParseBmp(paletted));
    PutU32(paletted, 46, 255); // ... unless the header says only 255 are used
    EXPECT_TRUE(ParseBmp(paletted));
    PutU32(paletted, 46, 257); // more colours than 8 bits can index
    EXPECT_FALSE(ParseBmp(paletted));

    // 32-bit bitfields carry three masks after a 40-byte header.
    Bytes masked(54 + 12 + 4 * 4 * 4, 0);
    masked[0] = 'B';
    masked[1] = 'M';
    PutU32(masked, 10, 54 + 12);
    PutU32(masked, 14, 40);
    PutU32(masked, 18, 4);
    PutU32(masked, 22, 4);
    PutU16(masked, 26, 1);
    PutU16(masked, 28, 32);
    PutU32(masked, 30, 3);
    EXPECT_TRUE(ParseBmp(masked));
    PutU32(masked, 10, 54);
    EXPECT_FALSE(ParseBmp(masked));
    PutU32(masked, 10, 54 + 12);
    PutU16(masked, 28, 24);
    EXPECT_FALSE(ParseBmp(masked)) << "bitfields need 16 or 32 bits";
}

TEST(LedContainer, ReadsTheWholeFileOrNothing) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("zelvora_leds_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    const auto path = (dir / "mini_leds.bmf").string();
    const Bytes written = MakeContainer({{"LedRed.bmp", MakeBmp(300, 40)}}); // larger than one read chunk
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(written.data(), 1, written.size(), file);
    std::fclose(file);

    EXPECT_EQ(ReadContainerFile(path.c_str()), written);
    EXPECT_TRUE(ReadContainerFile((dir / "absent.bmf").string().c_str()).empty());
    std::filesystem::remove_all(dir);
}

} // namespace
