#pragma once

#include <optional>
#include <string>

namespace zelvora::web {

struct WebOptions {
    std::string database;
    std::string certificate;
    std::string key;
    std::string host = "localhost";
    int port = 443; // 0 picks a free port
    std::string siteAddress = "127.0.0.1";
    int sitePort = 30080;     // 0 picks a free port
    std::string seed;         // a seed folder loaded at start, when given
    std::string fixtures;     // a folder served as /fixtures/<name>, when given
    std::string setupProgram; // the file the site's installer page downloads, when given
};

// Nothing, with the reason in error (empty for --help), when the arguments are not a valid command line.
std::optional<WebOptions> ParseWebOptions(int argc, char** argv, std::string& error);
const char* WebUsage();

} // namespace zelvora::web
