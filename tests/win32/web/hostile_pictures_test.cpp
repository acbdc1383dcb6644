// Pictures whose headers claim more than the client decodes, under Wine: both decoders refuse them before
// GDI+ sees a byte, so they cost neither time nor memory.

#include "check.h"
#include "web/response_buffer.h"
#include "web/win32/https_client.h"
#include "web/win32/image_decoding.h"

#include <windows.h>

#include <psapi.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// 20,000 x 20,000 in 1,080 bytes: the headers, a blank palette and the end-of-bitmap code.
Bytes RleBitmap() {
    Bytes bytes = {'B', 'M', 0x38, 0x04, 0,    0,    0, 0, 0,    0,    0x36, 0x04, 0, 0, // file header
                   40,  0,   0,    0,    0x20, 0x4E, 0, 0, 0x20, 0x4E, 0,    0,          // 20,000 x 20,000
                   1,   0,   8,    0,    1,    0,    0, 0};                              // 8 bits, RLE8
    bytes.resize(1'078, 0);
    bytes.insert(bytes.end(), {0, 1});
    return bytes;
}

// 60,000 x 60,000 grey in 148 bytes, with every table and the scan header the JPEG decoder needs to start.
Bytes JpegHeader() {
    Bytes bytes = {0xFF, 0xD8, 0xFF, 0xDB, 0, 67, 0};
    bytes.resize(bytes.size() + 64, 1);
    bytes.insert(bytes.end(), {0xFF, 0xC0, 0, 11, 8, 0xEA, 0x60, 0xEA, 0x60, 1, 1, 0x11, 0});
    for (const std::uint8_t table : std::initializer_list<std::uint8_t>{0x00, 0x10}) {
        bytes.insert(bytes.end(), {0xFF, 0xC4, 0, 20, table, 1});
        bytes.resize(bytes.size() + 16, 0);
    }
    bytes.insert(bytes.end(), {0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 63, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xD9});
    return bytes;
}

// 60,000 x 60,000 RGBA: the signature and the header chunk.
Bytes PngHeader() {
    return {0x89, 'P',  'N',  'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I',  'H',  'D',  'R', 0,
            0,    0xEA, 0x60, 0,   0,    0xEA, 0x60, 8,    6, 0, 0, 0,  0x9F, 0x2B, 0x3C, 0x5D};
}

// A 65,535 x 65,535 screen and frame.
Bytes GifHeader() {
    return {'G', 'I', 'F', '8', '9',  'a',  0xFF, 0xFF, 0xFF, 0xFF, 0, 0,    0, 0x2C,
            0,   0,   0,   0,   0xFF, 0xFF, 0xFF, 0xFF, 0,    2,    1, 0x44, 0, 0x3B};
}

int Put(ResponseBuffer::Lease& response, const Bytes& bytes) {
    std::memcpy(response.Bytes().data(), bytes.data(), bytes.size());
    return static_cast<int>(bytes.size());
}

SIZE_T PeakResidentBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

} // namespace

int main() {
    ResponseBuffer::Lease response = SharedResponseBuffer().Acquire();
    const SIZE_T before = PeakResidentBytes();
    for (const Bytes& hostile : {RleBitmap(), JpegHeader(), PngHeader(), GifHeader()}) {
        const int size = Put(response, hostile);
        CHECK(DecodeImageBitmap(response, size) == nullptr);
        CHECK(DecodePngBitmap(response, size) == nullptr);
    }
    // Given to GDI+ under Wine, the first two peaked at 4.8 and 3.6 GB.
    const SIZE_T grown = PeakResidentBytes() - before;
    std::printf("peak resident memory grew by %zu bytes\n", static_cast<std::size_t>(grown));
    CHECK(grown < 16u * 1024 * 1024);
    return CheckSummary("hostile_pictures_test");
}
