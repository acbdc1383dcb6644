#pragma once

#include <string>
#include <vector>

namespace zelvora::web {

// A public socket the front accepts on, already bound and listening, handed to nginx by number.
struct FrontListener {
    int fd = -1;
    std::string endpoint; // "127.0.0.1:443", "[::1]:443": how nginx names the inherited socket
    bool tls = true;      // the HTTPS service; false for the site's plain HTTP
};

// What nginx needs to run in front of the service: its private folder (configuration, pid file, temporary
// bodies, the Unix sockets between its layers and to the service), the public sockets, the certificate.
struct FrontSetup {
    std::string folder;
    std::vector<FrontListener> listeners;
    std::string certificate;
    std::string key;
    std::string serviceSocket; // the web service's own plain HTTP, for the TLS listeners
    std::string siteSocket;    // the site pages, for the plain listener
    std::string user;          // "name group" for nginx's worker when it starts as root, else empty
};

// The nginx configuration that bounds every connection before the service sees a request.
std::string FrontConfig(const FrontSetup& setup);

} // namespace zelvora::web
