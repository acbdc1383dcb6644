#include "web_options.h"

#include <charconv>
#include <string_view>

namespace zelvora::web {
namespace {

bool ParsePort(std::string_view text, int& port) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    return error == std::errc() && end == text.data() + text.size() && port >= 0 && port <= 65535;
}

} // namespace

const char* WebUsage() {
    return "usage: zelvora-web --db FILE --cert FILE --key FILE [--host H] [--port P]\n"
           "                   [--site-address A] [--site-port P] [--seed DIR] [--fixtures DIR]\n"
           "                   [--setup-program FILE]\n"
           "Serves the Zelvora web service over HTTPS on port P (default 443) of every address of host H\n"
           "(default localhost), and the web site's pages over HTTP on A:P (default 127.0.0.1:30080).\n"
           "The site's /installer.php downloads FILE, the client's setup program.\n"
           "A port of 0 picks a free one; the first line printed, \"ready ...\", gives them.\n";
}

std::optional<WebOptions> ParseWebOptions(int argc, char** argv, std::string& error) {
    WebOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view flag = argv[i];
        if (flag == "--help" || flag == "-h") {
            error.clear();
            return std::nullopt;
        }
        if (i + 1 >= argc) {
            error = "missing value after " + std::string(flag);
            return std::nullopt;
        }
        const std::string value = argv[++i];
        if (flag == "--db") {
            options.database = value;
        } else if (flag == "--cert") {
            options.certificate = value;
        } else if (flag == "--key") {
            options.key = value;
        } else if (flag == "--host") {
            options.host = value;
        } else if (flag == "--site-address") {
            options.siteAddress = value;
        } else if (flag == "--seed") {
            options.seed = value;
        } else if (flag == "--fixtures") {
            options.fixtures = value;
        } else if (flag == "--setup-program") {
            options.setupProgram = value;
        } else if (flag == "--port" || flag == "--site-port") {
            if (!ParsePort(value, flag == "--port" ? options.port : options.sitePort)) {
                error = "not a port number: " + value;
                return std::nullopt;
            }
        } else {
            error = "unknown option " + std::string(flag);
            return std::nullopt;
        }
    }
    if (options.database.empty() || options.certificate.empty() || options.key.empty()) {
        error = "--db, --cert and --key are required";
        return std::nullopt;
    }
    return options;
}

} // namespace zelvora::web
