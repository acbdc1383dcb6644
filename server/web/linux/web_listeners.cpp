#include "web_listeners.h"

#include "core/service_routes.h"
#include "core/upload_records.h"
#include "site_pages.h"
#include "web_log.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <netdb.h>
#include <sys/socket.h>

namespace zelvora::web {
namespace {

// Fixtures are test bodies of any content up to the client's whole response buffer and a little more.
constexpr std::streamsize kMaxFixtureBytes = 10'100'000;

// Every address the host name resolves to, numeric, without repeats.
std::vector<std::string> AddressesOf(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    std::vector<std::string> addresses;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0) {
        return addresses;
    }
    for (const addrinfo* entry = found; entry; entry = entry->ai_next) {
        char text[NI_MAXHOST];
        if (getnameinfo(entry->ai_addr, entry->ai_addrlen, text, sizeof text, nullptr, 0, NI_NUMERICHOST) ==
                0 &&
            std::find(addresses.begin(), addresses.end(), text) == addresses.end()) {
            addresses.emplace_back(text);
        }
    }
    freeaddrinfo(found);
    return addresses;
}

std::string Endpoint(const std::string& address, int port) {
    const bool ipv6 = address.find(':') != std::string::npos;
    return (ipv6 ? "[" + address + "]" : address) + ":" + std::to_string(port);
}

// Headers and body go out in separate writes: without this, the body of every reply waits for the delayed
// acknowledgement of the headers (40 ms on Linux).
void SendAtOnce(httplib::Server& server) {
    server.set_tcp_nodelay(true);
}

void LogRequests(httplib::Server& server, std::string scheme) {
    server.set_logger([scheme](const httplib::Request& request, const httplib::Response& response) {
        LogLine(scheme + " " + Printable(request.method) + " " + Printable(request.target) + " " +
                std::to_string(response.status) + " " + std::to_string(response.body.size()) + " bytes");
    });
}

void ServeFixtures(httplib::Server& server, const std::string& folder) {
    // Names without folders, so nothing outside the fixture folder can be reached.
    server.Get("/fixtures/([A-Za-z0-9_][A-Za-z0-9._-]{0,63})",
               [folder](const httplib::Request& request, httplib::Response& response) {
                   std::ifstream file(folder + "/" + request.matches[1].str(), std::ios::binary);
                   std::string bytes(static_cast<std::size_t>(kMaxFixtureBytes) + 1, '\0');
                   file.read(bytes.data(), kMaxFixtureBytes + 1);
                   if (!file.is_open() || file.bad() || file.gcount() > kMaxFixtureBytes) {
                       response.status = 404;
                       return;
                   }
                   bytes.resize(static_cast<std::size_t>(file.gcount()));
                   response.set_content(std::move(bytes), "application/octet-stream");
               });
}

void ServeAccounts(httplib::Server& server, AccountStore& store) {
    server.set_payload_max_length(kUploadRecordBytes);
    // The client's uploads say "multipart/form-data" without a boundary while their body is one raw
    // record; the library would refuse them before any handler ran. No handler reads the content type, so
    // it is dropped before the body is read.
    server.set_pre_routing_handler([](const httplib::Request& request, httplib::Response&) {
        const_cast<httplib::Request&>(request).headers.erase("Content-Type");
        return httplib::Server::HandlerResponse::Unhandled;
    });
    const auto handle = [&store](const httplib::Request& request, httplib::Response& response) {
        WebRequest exchange{
            request.method, request.path, {request.params.begin(), request.params.end()}, request.body};
        WebResponse answer = HandleWebRequest(store, exchange);
        response.status = answer.status;
        response.set_content(std::move(answer.body), answer.contentType);
    };
    server.Get(".*", handle);
    server.Post(".*", handle);
}

} // namespace

WebListeners::WebListeners(AccountStore& store, const WebOptions& options)
    : store_(store), options_(options) {}

WebListeners::~WebListeners() {
    Stop();
}

bool WebListeners::Bind() {
    const auto addresses = AddressesOf(options_.host);
    if (addresses.empty()) {
        std::fprintf(stderr, "zelvora-web: cannot resolve %s\n", options_.host.c_str());
        return false;
    }
    int port = options_.port;
    for (const std::string& address : addresses) {
        auto server =
            std::make_unique<httplib::SSLServer>(options_.certificate.c_str(), options_.key.c_str());
        if (!server->is_valid()) {
            std::fprintf(stderr, "zelvora-web: cannot load the certificate %s and its key %s\n",
                         options_.certificate.c_str(), options_.key.c_str());
            return false;
        }
        if (!options_.fixtures.empty()) {
            ServeFixtures(*server, options_.fixtures);
        }
        ServeAccounts(*server, store_);
        LogRequests(*server, "https");
        SendAtOnce(*server);
        // A free port is chosen on the first address and then asked for on the others.
        const int bound =
            port == 0 ? server->bind_to_any_port(address) : (server->bind_to_port(address, port) ? port : -1);
        if (bound < 0) {
            // A host may name an address family this machine lacks (::1 without IPv6); one address suffices.
            std::fprintf(stderr, "zelvora-web: cannot listen on %s\n", Endpoint(address, port).c_str());
            continue;
        }
        port = bound;
        endpoints_.push_back(Endpoint(address, port));
        servers_.push_back(std::move(server));
    }
    if (servers_.empty()) {
        return false;
    }
    auto site = std::make_unique<httplib::Server>();
    AddSitePages(*site, options_.setupProgram);
    LogRequests(*site, "site");
    SendAtOnce(*site);
    const int sitePort =
        options_.sitePort == 0
            ? site->bind_to_any_port(options_.siteAddress)
            : (site->bind_to_port(options_.siteAddress, options_.sitePort) ? options_.sitePort : -1);
    if (sitePort < 0) {
        std::fprintf(stderr, "zelvora-web: cannot listen on %s for the site\n",
                     Endpoint(options_.siteAddress, options_.sitePort).c_str());
        return false;
    }
    endpoints_.push_back(Endpoint(options_.siteAddress, sitePort));
    servers_.push_back(std::move(site));
    return true;
}

std::string WebListeners::Endpoints() const {
    std::string text = "https";
    for (std::size_t i = 0; i + 1 < endpoints_.size(); ++i) {
        text += " " + endpoints_[i];
    }
    return text + " site " + endpoints_.back();
}

void WebListeners::Start() {
    for (auto& server : servers_) {
        threads_.emplace_back([&server] { server->listen_after_bind(); });
    }
    // A stop that came before a listener runs would be lost and leave its thread listening for ever.
    for (auto& server : servers_) {
        while (!server->is_running()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
}

void WebListeners::Stop() {
    for (auto& server : servers_) {
        server->stop();
    }
    for (auto& thread : threads_) {
        thread.join();
    }
    threads_.clear();
}

} // namespace zelvora::web
