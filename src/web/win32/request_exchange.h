#pragma once

#include "web/exchange_watch.h"
#include "web/watched_exchange.h"
#include "web/win32/internet_handle.h"

#include <windows.h>

#include <winhttp.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

// The blocking WinHTTP calls of one request, run on the exchange's own thread under `watch`. When the watch
// runs out the request's handle is closed, which cancels the pending call on Windows; under Wine, where a
// call goes on (a stalled TLS handshake for ever), the caller is given back all the same and the call ends
// unwatched in its own memory. Every call then fails with ERROR_WINHTTP_TIMEOUT, as do the calls of an
// exchange that could not start because a cut one still runs.
class RequestExchange {
  public:
    RequestExchange(InternetHandle& request, ExchangeWatch watch);

    // The result of each call is 0 or the system's error number.
    DWORD Send(const wchar_t* headers, DWORD totalLength);
    DWORD Write(std::span<const std::uint8_t> bytes); // at most kChunkBytes
    DWORD ReceiveResponse();
    // Bytes ready to read; nothing when the query fails.
    std::optional<std::size_t> Available();
    // Reads up to `into.size()` bytes (at most kChunkBytes) into `into`; nothing when the read fails.
    std::optional<std::size_t> Read(std::span<std::uint8_t> into);

    bool WasCut() const { return exchange_.WasCut(); }

    static constexpr std::size_t kChunkBytes = 64 * 1024;

  private:
    // What a call reads into and writes from: a cut call may still use it after the caller has gone.
    struct Scratch {
        std::uint8_t bytes[kChunkBytes];
        DWORD count = 0;
    };

    DWORD Run(WatchedExchange::Call call);

    HINTERNET request_;
    std::shared_ptr<Scratch> scratch_;
    WatchedExchange exchange_;
};
