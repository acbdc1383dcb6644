// Requests of any method, path, query and body through the web service's handlers and a real (in-memory)
// database. Input: a mode byte, the path up to a newline, the query "k=v&k=v" up to a newline, the body.
// Mode bit 0 picks POST, bit 1 a full-size upload record whose last 268 bytes are the input's last ones.

#include "web/core/service_routes.h"
#include "web/core/upload_records.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

using namespace zelvora::web;

namespace {

std::string_view TakeLine(std::string_view& rest) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return line;
}

std::vector<std::pair<std::string, std::string>> SplitQuery(std::string_view query) {
    std::vector<std::pair<std::string, std::string>> fields;
    while (!query.empty()) {
        const std::string_view field = query.substr(0, query.find('&'));
        query.remove_prefix(std::min(query.size(), field.size() + 1));
        const std::size_t equals = field.find('=');
        fields.emplace_back(field.substr(0, equals),
                            equals == std::string_view::npos ? std::string_view() : field.substr(equals + 1));
    }
    return fields;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static AccountStore store(":memory:");
    static RegistrationQuota registrations;
    static std::string record(kUploadRecordBytes, '\0');
    if (size < 1) {
        return 0;
    }
    const std::uint8_t mode = data[0];
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string_view path = TakeLine(rest);
    const auto query = SplitQuery(TakeLine(rest));
    std::string_view body = rest;
    if ((mode & 2) != 0) {
        const std::size_t tail = std::min<std::size_t>(body.size(), kUploadRecordBytes - kUploadDataBytes);
        const std::string_view file = body.substr(0, body.size() - tail);
        std::memset(record.data(), 0, std::min(record.size(), std::size_t{4096}));
        std::memset(record.data() + kUploadDataBytes, 0, kUploadRecordBytes - kUploadDataBytes);
        if (!body.empty()) {
            std::memcpy(record.data(), file.data(), std::min(file.size(), std::size_t{4096}));
            std::memcpy(record.data() + kUploadDataBytes, body.data() + file.size(), tail);
        }
        body = record;
    }
    const WebResponse response =
        HandleWebRequest(store, registrations, {(mode & 1) != 0 ? "POST" : "GET", path, query, body, {}, {}});
    if (response.status < 200 || response.status > 599) {
        __builtin_trap();
    }
    return 0;
}
