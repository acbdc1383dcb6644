// The HTTPS client against the reference web service, under Wine. "trusted": the service's certificate is
// trusted and its fixtures (see run_https_client_test.py) are served; "untrusted": the service presents a
// certificate no authority of the prefix signed; "stalled": a stand-in service stops reading an upload.

#include "check.h"
#include "web/exchange_watch.h"
#include "web/response_buffer.h"
#include "web/service_paths.h"
#include "web/shared_image_upload.h"
#include "web/win32/https_client.h"
#include "web/win32/image_decoding.h"
#include "web/win32/web_wiring.h"
#include "session/shared_state.h"
#include "platform/win32/top_down_bitmap.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr std::uint8_t kUntouched = 0xA5;
constexpr int kTenMillion = 10'000'000;

// The 10,000,000-byte fixture's byte at `offset`; never 0 at the end.
std::uint8_t PatternByte(std::size_t offset) {
    return static_cast<std::uint8_t>(offset % 251 + 1);
}

void FillUntouched(ResponseBuffer::Lease& response, std::size_t count) {
    std::memset(response.Bytes().data(), kUntouched, count);
}

bool StillUntouched(ResponseBuffer::Lease& response, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (response.Bytes()[i] != kUntouched) {
            return false;
        }
    }
    return true;
}

FetchResult Get(ResponseBuffer::Lease& response, const char* path) {
    // Any base the path builder does not know is requested as it is.
    return HttpsGet(response, path, 0, 0);
}

bool IsBodyOf(FetchResult fetched, std::size_t size) {
    return fetched == FetchResult{FetchStatus::Body, size};
}

// The colour of the pixel at (x, y) of a bitmap, as 0x00RRGGBB.
std::uint32_t PixelOf(HBITMAP bitmap, int x, int y) {
    BITMAP size{};
    GetObjectW(bitmap, sizeof size, &size);
    BITMAPINFO info = TopDown32BitmapInfo(size.bmWidth, size.bmHeight);
    std::basic_string<std::uint32_t> pixels(static_cast<std::size_t>(size.bmWidth * size.bmHeight), 0);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.bmHeight), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return pixels[static_cast<std::size_t>(y * size.bmWidth + x)] & 0xFFFFFF;
}

void BodiesLandAsTheyCame(ResponseBuffer::Lease& response) {
    FillUntouched(response, 64);
    CHECK(Get(response, "/fixtures/missing") == FetchResult{}); // 404
    CHECK(StillUntouched(response, 64));
    CHECK(Get(response, "/fixtures/empty") == FetchResult{});

    FillUntouched(response, 64);
    CHECK(IsBodyOf(Get(response, "/fixtures/five"), 5));
    CHECK(std::memcmp(response.Bytes().data(), "Salut", 5) == 0);
    CHECK(response.Bytes()[5] == 0);
    CHECK(DecodePngBitmap(response, 5) == nullptr);

    CHECK(IsBodyOf(Get(response, "/fixtures/ten-million"), kTenMillion));
    bool whole = true;
    for (std::size_t i = 0; i < kResponseBufferBytes && whole; ++i) {
        whole = response.Bytes()[i] == PatternByte(i);
    }
    CHECK(whole); // the last byte is the body's, not an end mark
}

void PicturesDecode(ResponseBuffer::Lease& response) {
    const int jpeg = static_cast<int>(Get(response, "/fixtures/photo.jpg").size);
    CHECK(jpeg > 0);
    CHECK(DecodePngBitmap(response, jpeg) == nullptr);
    HBITMAP photo = DecodeImageBitmap(response, jpeg);
    CHECK(photo != nullptr);
    BITMAP size{};
    CHECK(photo != nullptr && GetObjectW(photo, sizeof size, &size) != 0 && size.bmWidth == 40 &&
          size.bmHeight == 30);
    DeleteObject(photo);

    // The fixture is white with a transparent left half.
    const int png = static_cast<int>(Get(response, "/fixtures/half-transparent.png").size);
    HBITMAP decoded[] = {DecodePngBitmap(response, png), DecodeImageBitmap(response, png)};
    for (HBITMAP bitmap : decoded) {
        CHECK(bitmap != nullptr);
        if (bitmap != nullptr) {
            CHECK(PixelOf(bitmap, 1, 1) == 0x000000);
            CHECK(PixelOf(bitmap, 6, 1) == 0xFFFFFF);
            DeleteObject(bitmap);
        }
    }
}

// A colour record for a seed member, as the parameters window sends it.
void PostReachesTheService(ResponseBuffer::Lease& response, bool trusted) {
    const std::uint32_t record[] = {1, 10, 20, 30, 101};
    const InternetHandle session = OpenServiceSession();
    const InternetHandle connection = ConnectToService(session.Get());
    CHECK(connection);
    const std::span<const std::uint8_t> body(reinterpret_cast<const std::uint8_t*>(record), sizeof record);
    HINTERNET request = HttpsPost(connection.Get(), "/users/params.php", body, PostWatch::Fetch);
    CHECK((request != nullptr) == trusted);
    if (request != nullptr) {
        response.CurrentRequest() = request;
        CHECK(QueryStatusCode(response) == 200);
        response.CurrentRequest() = nullptr;
        WinHttpCloseHandle(request);
    }
}

// The service answers the upload's headers and then reads nothing: the body stops moving once the buffers on
// the way are full. The upload outlives the fetch deadline, and is abandoned once nothing has moved for its
// stall limit.
void StalledUploadIsAbandoned() {
    static std::uint8_t record[kUploadRecordBytes];
    const InternetHandle session = OpenServiceSession();
    const InternetHandle connection = ConnectToService(session.Get());
    const ULONGLONG start = GetTickCount64();
    HINTERNET request =
        HttpsPost(connection.Get(), "/echange/pc_img_share_post.php", record, PostWatch::Upload);
    const ULONGLONG elapsedMs = GetTickCount64() - start;
    std::printf("stalled upload abandoned after %llu ms\n", elapsedMs);
    CHECK(request == nullptr);
    CHECK(elapsedMs >= static_cast<ULONGLONG>(kUploadStallLimit.count()));
}

} // namespace

int main(int argc, char** argv) {
    // Every exchange blinks the HTTPS light.
    static SharedState shared;
    Web().shared = &shared;
    if (argc > 1 && std::strcmp(argv[1], "stalled") == 0) {
        StalledUploadIsAbandoned();
        return CheckSummary("https_client_test stalled");
    }
    const bool trusted = argc > 1 && std::strcmp(argv[1], "trusted") == 0;
    ResponseBuffer::Lease response = SharedResponseBuffer().Acquire();
    if (trusted) {
        BodiesLandAsTheyCame(response);
        PicturesDecode(response);
    } else {
        CHECK(HttpsGet(response, kUsersBase, 101, 1).status == FetchStatus::Failed);
    }
    PostReachesTheService(response, trusted);
    return CheckSummary(trusted ? "https_client_test trusted" : "https_client_test untrusted");
}
