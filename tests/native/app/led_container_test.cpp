#include "app/led_container.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Put(Bytes b, std::size_t at, std::uint32_t value, std::size_t width = 4) {
    for (std::size_t i = 0; i < width; ++i) {
        b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    return b;
}

// A bottom-up BMP of width x height whose colour table (or masks) takes tableBytes.
Bytes MakeBmp(std::int32_t width, std::int32_t height, std::uint16_t bits = 24,
              std::uint32_t tableBytes = 0) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4;
    Bytes b(54 + tableBytes + stride * static_cast<std::uint32_t>(height), 0);
    b[0] = 'B';
    b[1] = 'M';
    b = Put(b, 10, 54 + tableBytes);
    b = Put(b, 14, 40);
    b = Put(b, 18, static_cast<std::uint32_t>(width));
    b = Put(b, 22, static_cast<std::uint32_t>(height));
    b = Put(b, 26, 1, 2);
    return Put(b, 28, bits, 2);
}

struct Entry {
    Entry(std::string entryName, Bytes entryData, std::optional<std::uint32_t> recordedOffset = {},
          std::optional<std::uint32_t> recordedLength = {})
        : name(std::move(entryName)), data(std::move(entryData)), offset(recordedOffset),
          length(recordedLength) {}
    std::string name; // longer than 32 bytes: written cut and unterminated, as a hostile file would
    Bytes data;
    std::optional<std::uint32_t> offset; // recorded instead of the real offset
    std::optional<std::uint32_t> length; // recorded instead of the real length
};

Bytes MakeContainer(const std::vector<Entry>& entries, std::optional<std::uint32_t> count = {}) {
    Bytes b =
        Put(Bytes(4 + 40 * entries.size(), 0), 0, count.value_or(static_cast<std::uint32_t>(entries.size())));
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const Entry& e = entries[k];
        const std::size_t record = 4 + 40 * k;
        std::copy_n(e.name.begin(), std::min<std::size_t>(e.name.size(), 32),
                    b.begin() + static_cast<std::ptrdiff_t>(record));
        b = Put(b, record + 32, e.offset.value_or(static_cast<std::uint32_t>(b.size())));
        b = Put(b, record + 36, e.length.value_or(static_cast<std::uint32_t>(e.data.size())));
        b.insert(b.end(), e.data.begin(), e.data.end());
    }
    return b;
}

// Width of the bitmap found under the name, read back from its header; 0 when nothing was found.
std::int32_t FoundWidth(const Bytes& container, const std::string& name) {
    const auto bitmap = FindContainerBitmap(container, name);
    if (!bitmap) {
        return 0;
    }
    const auto& h = bitmap->header;
    return static_cast<std::int32_t>(h[4] | h[5] << 8 | h[6] << 16 | h[7] << 24);
}

TEST(LedContainer, NamesAndEntryCount) {
    std::vector<Entry> twenty;
    for (int i = 0; i < 19; ++i) {
        twenty.emplace_back("Filler" + std::to_string(i), MakeBmp(2, 2));
    }
    twenty.emplace_back("LedRed.bmp", MakeBmp(7, 7));
    std::vector<Entry> twentyOne = twenty;
    twentyOne.emplace_back("Extra", MakeBmp(2, 2));
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
        {"count beyond a cut table", MakeContainer({{"LedRed.bmp", MakeBmp(7, 7)}}, 3), "LedRed.bmp", 7},
        {"missing name", MakeContainer({{"LedRed.bmp", MakeBmp(7, 7)}}), "LedYellow.bmp", 0},
        {"case matters", MakeContainer({{"ledred.bmp", MakeBmp(7, 7)}}), "LedRed.bmp", 0},
        {"prefix is not a match", MakeContainer({{"LedRed.bmpx", MakeBmp(7, 7)}}), "LedRed.bmp", 0},
        {"first of two equal names wins",
         MakeContainer({{"LedRed.bmp", MakeBmp(3, 3)}, {"LedRed.bmp", MakeBmp(4, 4)}}), "LedRed.bmp", 3},
        {"unterminated name matches nothing", MakeContainer({{thirtyTwo + "B", MakeBmp(9, 9)}}), thirtyTwo,
         0},
        {"empty file", Bytes{}, "LedRed.bmp", 0},
        {"count cut short", Bytes{1, 0}, "LedRed.bmp", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FoundWidth(c.file, c.name), c.width) << c.what;
    }
}

TEST(LedContainer, UnsoundEntriesAreSkipped) {
    // A sound entry of the same name follows each unsound one and must be the one found.
    auto beforeSound = [](Entry bad) {
        return MakeContainer({std::move(bad), {"LedRed.bmp", MakeBmp(5, 5)}});
    };
    Bytes truncated = MakeContainer({{"LedRed.bmp", MakeBmp(6, 6)}});
    truncated.pop_back();
    const struct {
        const char* what;
        Bytes file;
        std::int32_t width;
    } cases[] = {
        {"offset past the end", beforeSound({"LedRed.bmp", MakeBmp(3, 3), 1u << 20, {}}), 5},
        {"length past the end", beforeSound({"LedRed.bmp", MakeBmp(3, 3), {}, 1u << 20}), 5},
        {"offset plus length wraps", beforeSound({"LedRed.bmp", MakeBmp(3, 3), 0xFFFFFFF0u, 0x20u}), 5},
        {"entry is not a BMP", beforeSound({"LedRed.bmp", Put(MakeBmp(3, 3), 0, 'X', 1)}), 5},
        {"entry shorter than its pixels", beforeSound({"LedRed.bmp", MakeBmp(3, 3), {}, 54u + 36u - 1u}), 5},
        {"truncated file", truncated, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FoundWidth(c.file, "LedRed.bmp"), c.width) << c.what;
    }
}

TEST(LedContainer, BmpHeaderChecks) {
    const Bytes plain = MakeBmp(4, 4);
    const Bytes paletted = MakeBmp(4, 4, 8, 1024);
    const Bytes masked = Put(MakeBmp(4, 4, 32, 12), 30, 3); // bitfields: three masks after the header
    const struct {
        const char* what;
        Bytes bmp;
        bool accepted;
    } cases[] = {
        {"24 bits", plain, true},
        {"top-down rows", Put(plain, 22, static_cast<std::uint32_t>(-4)), true},
        {"no BM", Put(plain, 1, 'X', 1), false},
        {"pixel offset inside the header", Put(plain, 10, 50), false},
        {"pixel offset beyond the entry", Put(plain, 10, 0x7FFFFFFF), false},
        {"info header beyond the entry", Put(plain, 14, 0x10000), false},
        {"info header too small", Put(plain, 14, 12), false},
        {"zero width", Put(plain, 18, 0), false},
        {"negative width", Put(plain, 18, static_cast<std::uint32_t>(-4)), false},
        {"huge width", Put(plain, 18, 0x7FFFFFFF), false},
        {"zero height", Put(plain, 22, 0), false},
        {"most negative height", Put(plain, 22, 0x80000000), false},
        {"two planes", Put(plain, 26, 2, 2), false},
        {"odd bit count", Put(plain, 28, 7, 2), false},
        {"run-length compression", Put(plain, 30, 1), false},
        {"colour count beyond the pixel offset", Put(plain, 46, 0xFFFFFFFF), false},
        {"fewer pixel rows than the height", Put(plain, 22, 5), false},
        {"8 bits with its palette", paletted, true},
        {"8 bits, palette one colour short", Put(paletted, 10, 54 + 1020), false},
        {"8 bits, 255 colours used", Put(Put(paletted, 10, 54 + 1020), 46, 255), true},
        {"8 bits, 257 colours used", Put(paletted, 46, 257), false},
        {"32-bit bitfields", masked, true},
        {"bitfields without their masks", Put(masked, 10, 54), false},
        {"24-bit bitfields", Put(masked, 28, 24, 2), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseBmp(c.bmp).has_value(), c.accepted) << c.what;
    }
    const auto found = ParseBmp(paletted);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->header.size(), 40u + 1024u);
    EXPECT_EQ(found->pixels.size(), 16u);
}

// The bytes written to a file, as the loader reads them back.
Bytes ReadBack(const Bytes& file) {
    const std::string path = testing::TempDir() + "read_back.bmf";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    EXPECT_NE(out, nullptr);
    if (out == nullptr) {
        return {};
    }
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
    Bytes read = ReadContainerFile(path.c_str());
    std::remove(path.c_str());
    return read;
}

TEST(LedContainer, ReadsOnlyWhatItsTableDeclares) {
    const Bytes sound = MakeContainer({{"LedGreen.bmp", MakeBmp(5, 5)}, {"LedRed.bmp", MakeBmp(7, 7)}});
    Bytes trailing = sound;
    trailing.resize(sound.size() + (3u << 20), 0xAB);
    Bytes farEntry = MakeContainer({{"LedRed.bmp", MakeBmp(3, 3), 0xFFFFFF00u, 0xFFu}});
    farEntry.resize(2u << 20, 0xAB);
    Bytes overCount = Put(sound, 0, kMaxContainerEntries + 1);
    Bytes truncated = sound;
    truncated.pop_back();
    const struct {
        const char* what;
        Bytes file;
        std::size_t bytesRead;
        std::int32_t redWidth;
    } cases[] = {
        {"bytes after the last entry stay unread", trailing, sound.size(), 7},
        {"an entry declared far away reads no more than the bound", farEntry, kMaxContainerBytes, 0},
        {"more than 20 entries: only the count is read", overCount, 4, 0},
        {"a truncated file gives what it has", truncated, truncated.size(), 0},
    };
    for (const auto& c : cases) {
        const Bytes read = ReadBack(c.file);
        EXPECT_EQ(read.size(), c.bytesRead) << c.what;
        EXPECT_EQ(FoundWidth(read, "LedRed.bmp"), c.redWidth) << c.what;
    }
    EXPECT_EQ(FoundWidth(ReadBack(truncated), "LedGreen.bmp"), 5) << "the sound entry before the cut";
    EXPECT_TRUE(ReadContainerFile((testing::TempDir() + "no_such_container.bmf").c_str()).empty());
}

} // namespace
