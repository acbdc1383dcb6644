#pragma once

#include "web/fetch_result.h"
#include "web/response_buffer.h"
#include "web/win32/internet_handle.h"

#include <windows.h>

#include <winhttp.h>

#include <cstdint>
#include <span>

// WinHTTP's own time-outs of every exchange with the web service: at most about 4 s to find it and connect,
// and 5 s of silence from it while a request goes out or its reply comes in. They do not bound an exchange
// (a body may trickle, and under Wine the TLS handshake has no time-out): the exchange's watch does (see
// exchange_watch.h).
inline constexpr int kResolveTimeoutMs = 2000;
inline constexpr int kConnectTimeoutMs = 2000;
inline constexpr int kSendTimeoutMs = 5000;
inline constexpr int kReceiveTimeoutMs = 5000;

// The one buffer every request of the client lands its body in.
ResponseBuffer& SharedResponseBuffer();

// A synchronous session with the client's user agent, the system's proxy and the time-outs above; empty when
// WinHTTP cannot open one.
InternetHandle OpenServiceSession();

// A connection to the web service's host on port 443; empty on failure.
InternetHandle ConnectToService(HINTERNET session);

// A GET or POST request on `path` (UTF-8), over TLS with the certificate checked; empty on failure.
InternetHandle OpenSecureRequest(HINTERNET connection, const wchar_t* verb, const char* path);

// GETs the path that BuildServicePath makes of the three values into the leased buffer, blinking the HTTPS
// light. The exchange fails when no session opens, or when the connection, the request, the send or the
// reception fails (TLS and certificate errors included), or the fetch deadline cuts it.
FetchResult HttpsGet(ResponseBuffer::Lease& response, const char* base, int number, int kind);

// The same exchange for a path already built, without touching the light.
FetchResult HttpsGetPath(ResponseBuffer::Lease& response, const char* path);

// How long a POST may hold its caller: the fetch deadline, or the upload's limit on a stall.
enum class PostWatch { Fetch, Upload };

// POSTs the raw bytes of `body` to `path` on an open connection and waits for the reply's headers. Returns
// the open request, which the caller puts in the lease's request slot, reads and closes; null after writing
// the failure's line to the standard output (a cut exchange is reported as a time-out).
HINTERNET HttpsPost(HINTERNET connection, const char* path, std::span<const std::uint8_t> body,
                    PostWatch watch);

// The numeric status of the lease's current request; -1 (with a line on the standard output) when it cannot
// be read.
int QueryStatusCode(ResponseBuffer::Lease& response);
