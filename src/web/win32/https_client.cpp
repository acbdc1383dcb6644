#include "web/win32/https_client.h"

#include "session/shared_state.h"
#include "web/account_state.h"
#include "web/win32/web_wiring.h"
#include "platform/win32/wide_text.h"
#include "build_config.h"
#include "web/request_blinker.h"
#include "web/response_body.h"
#include "web/service_paths.h"
#include "web/win32/request_exchange.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr wchar_t kUserAgent[] = L"Zelvora/1.0";
constexpr wchar_t kPostHeaders[] = L"Content-Type: multipart/form-data\r\n";

constexpr FetchResult kFailed{FetchStatus::Failed};

// The GET helper's own run of the HTTPS light; the lease's lock guards it like the buffer.
RequestBlinker gGetBlinker;

// The reply of a request, read through its watched exchange.
class WatchedReply : public ResponseSource {
  public:
    WatchedReply(ResponseBuffer::Lease& response, RequestExchange& exchange)
        : response_(response), exchange_(exchange) {}

    int StatusCode() override { return QueryStatusCode(response_); }
    std::optional<std::size_t> Available() override { return exchange_.Available(); }
    std::optional<std::size_t> Read(std::span<std::uint8_t> into) override { return exchange_.Read(into); }

  private:
    ResponseBuffer::Lease& response_;
    RequestExchange& exchange_;
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

FetchResult HttpsGet(ResponseBuffer::Lease& response, const char* base, int number, int kind) {
    Web().shared->lights.web.store(gGetBlinker.Next(), std::memory_order_relaxed);
    char path[kServicePathCapacity];
    BuildServicePath(path, number, kind, base);
    return HttpsGetPath(response, path);
}

FetchResult HttpsGetPath(ResponseBuffer::Lease& response, const char* path) {
    response.SetBodySize(0);
    response.CurrentRequest() = nullptr;
    const InternetHandle session = OpenServiceSession();
    if (!session) {
        return kFailed;
    }
    const InternetHandle connection = ConnectToService(session.Get());
    if (!connection) {
        return kFailed;
    }
    InternetHandle request = OpenSecureRequest(connection.Get(), L"GET", path);
    if (!request) {
        return kFailed;
    }
    RequestExchange exchange(request, ExchangeWatch::ForFetch(ExchangeWatch::Clock::now()));
    if (exchange.Send(WINHTTP_NO_ADDITIONAL_HEADERS, 0) != 0 || exchange.ReceiveResponse() != 0) {
        return kFailed;
    }
    response.CurrentRequest() = request.Get();
    WatchedReply reply(response, exchange);
    const std::optional<std::size_t> size = ReadResponseInto(reply, response.Bytes());
    response.CurrentRequest() = nullptr;
    // A body the deadline or the connection cut short is no body.
    if (!size || exchange.WasCut()) {
        return kFailed;
    }
    response.SetBodySize(*size);
    return *size == 0 ? FetchResult{} : FetchResult{FetchStatus::Body, *size};
}

HINTERNET HttpsPost(HINTERNET connection, const char* path, std::span<const std::uint8_t> body,
                    PostWatch watch) {
    InternetHandle request = OpenSecureRequest(connection, L"POST", path);
    if (!request) {
        std::printf("Erreur WinHttpOpenRequest: %lu\n", GetLastError());
        return nullptr;
    }
    const ExchangeWatch::Clock::time_point now = ExchangeWatch::Clock::now();
    if (watch == PostWatch::Upload) {
        // The stall limit is the upload's only bound: WinHTTP must not give up on a slow uplink before it.
        const int stallMs = static_cast<int>(kUploadStallLimit.count());
        WinHttpSetTimeouts(request.Get(), kResolveTimeoutMs, kConnectTimeoutMs, stallMs, stallMs);
    }
    RequestExchange exchange(request, watch == PostWatch::Upload ? ExchangeWatch::ForUpload(now)
                                                                 : ExchangeWatch::ForFetch(now));
    // The body goes in chunks, so that the upload's watch sees its bytes move.
    DWORD error = exchange.Send(kPostHeaders, static_cast<DWORD>(body.size()));
    for (std::size_t sent = 0; error == 0 && sent < body.size(); sent += RequestExchange::kChunkBytes) {
        error =
            exchange.Write(body.subspan(sent, std::min(RequestExchange::kChunkBytes, body.size() - sent)));
    }
    if (error != 0) {
        std::printf("Erreur WinHttpSendRequest: %lu\n", error);
        return nullptr;
    }
    error = exchange.ReceiveResponse();
    if (error != 0) {
        std::printf("Erreur WinHttpReceiveResponse: %lu\n", error);
        return nullptr;
    }
    return request.Release();
}

int QueryStatusCode(ResponseBuffer::Lease& response) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinHttpQueryHeaders(static_cast<HINTERNET>(response.CurrentRequest()),
                             WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
        std::printf("Erreur WinHttpQueryHeaders: %lu\n", GetLastError());
        return -1;
    }
    return static_cast<int>(status);
}
