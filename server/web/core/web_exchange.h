#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zelvora::web {

// One request as the HTTP library hands it over: path and query already percent-decoded.
struct WebRequest {
    std::string_view method;
    std::string_view path;
    std::vector<std::pair<std::string, std::string>> query;
    std::string_view body;
    std::string_view source; // the client's address, as the TLS front saw it
    std::chrono::steady_clock::time_point received{};
};

struct WebResponse {
    int status = 200;
    std::string contentType = "text/plain; charset=utf-8";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers; // besides the content type and length
};

} // namespace zelvora::web
