#include "web_listeners.h"

#include "core/service_routes.h"
#include "core/upload_records.h"
#include "site_pages.h"
#include "web_log.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <netdb.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zelvora::web {
namespace {

// Fixtures are test bodies of any content up to the client's whole response buffer and a little more.
constexpr std::streamsize kMaxFixtureBytes = 10'100'000;
// nginx connects to the service once per request: a burst must find room in the queue, not a refusal.
constexpr int kServiceBacklog = 1024;

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

// A listening TCP socket on the numeric address, for nginx to accept on; -1 when it cannot be bound.
int ListenOn(const std::string& address, int& port) {
    addrinfo hints{};
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV | AI_PASSIVE;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
        return -1;
    }
    int fd = socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    if (fd >= 0 &&
        (setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
         (found->ai_family == AF_INET6 && setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on) != 0) ||
         bind(fd, found->ai_addr, found->ai_addrlen) != 0 || listen(fd, SOMAXCONN) != 0 ||
         getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) != 0)) {
        close(fd);
        fd = -1;
    }
    if (fd >= 0) {
        port = ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                                 : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    }
    freeaddrinfo(found);
    return fd;
}

// A folder of this run's own, readable by nobody else: the Unix sockets in it reach the service unchecked.
std::string MakePrivateFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zelvora-web-XXXXXX").string();
    return mkdtemp(pattern.data()) ? pattern : std::string();
}

// nginx started as root runs its worker as this process's user, who owns the private folder.
std::string WorkerUser() {
    if (geteuid() != 0) {
        return {};
    }
    const passwd* user = getpwuid(geteuid());
    const group* group = getgrgid(getegid());
    return user && group ? std::string(user->pw_name) + " " + group->gr_name : std::string();
}

// Each line is written before its reply leaves, so the lines keep the order in which the client was answered
// (nginx may pass a reply on before the service's thread is scheduled again).
void LogRequests(httplib::Server& server, std::string scheme) {
    server.set_post_routing_handler([scheme](const httplib::Request& request, httplib::Response& response) {
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

void ServeAccounts(httplib::Server& server, AccountStore& store, RegistrationQuota& registrations) {
    server.set_payload_max_length(kUploadRecordBytes);
    // The client's uploads say "multipart/form-data" without a boundary while their body is one raw
    // record; the library would refuse them before any handler ran. No handler reads the content type, so
    // it is dropped before the body is read.
    server.set_pre_routing_handler([](const httplib::Request& request, httplib::Response&) {
        const_cast<httplib::Request&>(request).headers.erase("Content-Type");
        return httplib::Server::HandlerResponse::Unhandled;
    });
    const auto handle = [&store, &registrations](const httplib::Request& request,
                                                 httplib::Response& response) {
        // nginx sets this header from the address it accepted, replacing any the client sent.
        const std::string source = request.get_header_value("X-Real-IP");
        WebRequest exchange{request.method, request.path, {request.params.begin(), request.params.end()},
                            request.body,   source,       std::chrono::steady_clock::now()};
        WebResponse answer = HandleWebRequest(store, registrations, exchange);
        response.status = answer.status;
        for (const auto& [name, value] : answer.headers) {
            response.set_header(name.c_str(), value);
        }
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
    for (const FrontListener& listener : public_) {
        close(listener.fd);
    }
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

bool WebListeners::BindService(std::unique_ptr<httplib::Server>& server, const std::string& path) {
    server->set_address_family(AF_UNIX);
    int fd = -1;
    server->set_socket_options([&fd](socket_t socket) { fd = socket; });
    // The port means nothing to a Unix socket; 0 would make the library ask the socket for the one it got.
    constexpr int kAnyPort = 80;
    if (!server->bind_to_port(path, kAnyPort) || listen(fd, kServiceBacklog) != 0) {
        std::fprintf(stderr, "zelvora-web: cannot listen on %s\n", path.c_str());
        return false;
    }
    return true;
}

bool WebListeners::Bind() {
    const auto addresses = AddressesOf(options_.host);
    if (addresses.empty()) {
        std::fprintf(stderr, "zelvora-web: cannot resolve %s\n", options_.host.c_str());
        return false;
    }
    int port = options_.port;
    for (const std::string& address : addresses) {
        // A free port is chosen on the first address and then asked for on the others.
        const int fd = ListenOn(address, port);
        if (fd < 0) {
            // A host may name an address family this machine lacks (::1 without IPv6); one address suffices.
            std::fprintf(stderr, "zelvora-web: cannot listen on %s\n", Endpoint(address, port).c_str());
            continue;
        }
        public_.push_back({fd, Endpoint(address, port), true});
    }
    if (public_.empty()) {
        return false;
    }
    int sitePort = options_.sitePort;
    const int siteFd = ListenOn(options_.siteAddress, sitePort);
    if (siteFd < 0) {
        std::fprintf(stderr, "zelvora-web: cannot listen on %s for the site\n",
                     Endpoint(options_.siteAddress, sitePort).c_str());
        return false;
    }
    public_.push_back({siteFd, Endpoint(options_.siteAddress, sitePort), false});

    folder_ = MakePrivateFolder();
    if (folder_.empty()) {
        std::fprintf(stderr, "zelvora-web: cannot make a private folder in %s\n",
                     std::filesystem::temp_directory_path().c_str());
        return false;
    }
    service_ = std::make_unique<httplib::Server>();
    if (!options_.fixtures.empty()) {
        ServeFixtures(*service_, options_.fixtures);
    }
    ServeAccounts(*service_, store_, registrations_);
    LogRequests(*service_, "https");
    site_ = std::make_unique<httplib::Server>();
    AddSitePages(*site_, options_.setupProgram);
    LogRequests(*site_, "site");
    return BindService(service_, folder_ + "/service.sock") && BindService(site_, folder_ + "/site.sock");
}

std::string WebListeners::Endpoints() const {
    std::string text = "https";
    for (std::size_t i = 0; i + 1 < public_.size(); ++i) {
        text += " " + public_[i].endpoint;
    }
    return text + " site " + public_.back().endpoint;
}

bool WebListeners::Start() {
    for (httplib::Server* server : {service_.get(), site_.get()}) {
        threads_.emplace_back([server] { server->listen_after_bind(); });
    }
    // A stop that came before a listener runs would be lost and leave its thread listening for ever.
    for (httplib::Server* server : {service_.get(), site_.get()}) {
        while (!server->is_running()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    // nginx reads relative paths from its own folder.
    return front_.Start({folder_, public_, std::filesystem::absolute(options_.certificate),
                         std::filesystem::absolute(options_.key), folder_ + "/service.sock",
                         folder_ + "/site.sock", WorkerUser()});
}

bool WebListeners::FrontHasEnded() {
    return front_.HasEnded();
}

void WebListeners::Stop() {
    front_.Stop();
    for (auto& server : {service_.get(), site_.get()}) {
        if (server) {
            server->stop();
        }
    }
    for (auto& thread : threads_) {
        thread.join();
    }
    threads_.clear();
}

} // namespace zelvora::web
