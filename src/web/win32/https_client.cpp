#include "web/win32/https_client.h"

#include "session/session_state.h"
#include "platform/win32/wide_text.h"
#include "build_config.h"
#include "web/request_blinker.h"
#include "web/response_body.h"
#include "web/service_paths.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr wchar_t kUserAgent[] = L"Zelvora/1.0";

// The GET helper's own run of the HTTPS light; the lease's lock guards it like the buffer.
RequestBlinker gGetBlinker;

HINTERNET CurrentRequest(ResponseBuffer::Lease& response) {
    return static_cast<HINTERNET>(response.CurrentRequest());
}

// The reply of the lease's current request, read through WinHTTP.
class WinHttpReply : public ResponseSource {
  public:
    explicit WinHttpReply(ResponseBuffer::Lease& response) : response_(response) {}

    int StatusCode() override { return QueryStatusCode(response_); }

    std::size_t Available() override {
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(CurrentRequest(response_), &available)) {
            return 0;
        }
        return available;
    }

    std::optional<std::size_t> Read(std::span<std::uint8_t> into) override {
        DWORD read = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(into.size(), MAXDWORD));
        if (!WinHttpReadData(CurrentRequest(response_), into.data(), wanted, &read)) {
            return std::nullopt;
        }
        return read;
    }

  private:
    ResponseBuffer::Lease& response_;
};

} // namespace

ResponseBuffer& SharedResponseBuffer() {
    static ResponseBuffer buffer;
    return buffer;
}

InternetHandle OpenServiceSession() {
    InternetHandle session(WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                       WINHTTP_NO_PROXY_BYPASS, 0));
    if (session) {
        WinHttpSetTimeouts(session.Get(), kResolveTimeoutMs, kConnectTimeoutMs, kSendTimeoutMs,
                           kReceiveTimeoutMs);
    }
    return session;
}

InternetHandle ConnectToService(HINTERNET session) {
    return InternetHandle(
        WinHttpConnect(session, WideFromUtf8(kWebServiceHost).c_str(), INTERNET_DEFAULT_HTTPS_PORT, 0));
}

InternetHandle OpenSecureRequest(HINTERNET connection, const wchar_t* verb, const char* path) {
    return InternetHandle(WinHttpOpenRequest(connection, verb, WideFromUtf8(path).c_str(), nullptr,
                                             WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                             WINHTTP_FLAG_SECURE));
}

int HttpsGet(ResponseBuffer::Lease& response, const char* base, int number, int kind) {
    Session().webLed.store(gGetBlinker.Next(), std::memory_order_relaxed);
    char path[kServicePathCapacity];
    BuildServicePath(path, number, kind, base);
    return HttpsGetPath(response, path);
}

int HttpsGetPath(ResponseBuffer::Lease& response, const char* path) {
    response.SetBodySize(0);
    response.CurrentRequest() = nullptr;
    const InternetHandle session = OpenServiceSession();
    if (!session) {
        return 1;
    }
    const InternetHandle connection = ConnectToService(session.Get());
    if (!connection) {
        return -1;
    }
    const InternetHandle request = OpenSecureRequest(connection.Get(), L"GET", path);
    if (!request) {
        return -1;
    }
    if (!WinHttpSendRequest(request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                            0) ||
        !WinHttpReceiveResponse(request.Get(), nullptr)) {
        return -1;
    }
    response.CurrentRequest() = request.Get();
    const unsigned size = ReadResponseBody(response);
    response.CurrentRequest() = nullptr;
    return static_cast<int>(size);
}

HINTERNET HttpsPost(HINTERNET connection, const char* path, const void* body, DWORD size) {
    InternetHandle request = OpenSecureRequest(connection, L"POST", path);
    if (!request) {
        std::printf("Erreur WinHttpOpenRequest: %lu\n", GetLastError());
        return nullptr;
    }
    if (!WinHttpSendRequest(request.Get(), L"Content-Type: multipart/form-data\r\n", static_cast<DWORD>(-1),
                            const_cast<void*>(body), size, size, 0)) {
        std::printf("Erreur WinHttpSendRequest: %lu\n", GetLastError());
        return nullptr;
    }
    if (!WinHttpReceiveResponse(request.Get(), nullptr)) {
        std::printf("Erreur WinHttpReceiveResponse: %lu\n", GetLastError());
        return nullptr;
    }
    return request.Release();
}

int QueryStatusCode(ResponseBuffer::Lease& response) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinHttpQueryHeaders(CurrentRequest(response), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
        std::printf("Erreur WinHttpQueryHeaders: %lu\n", GetLastError());
        return -1;
    }
    return static_cast<int>(status);
}

unsigned ReadResponseBody(ResponseBuffer::Lease& response) {
    WinHttpReply reply(response);
    const std::size_t size = ReadResponseInto(reply, response.Bytes());
    response.SetBodySize(size);
    return static_cast<unsigned>(size);
}
