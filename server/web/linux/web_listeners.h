#pragma once

#include "core/account_store.h"
#include "core/registration_quota.h"
#include "front_proxy.h"
#include "web_options.h"

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace zelvora::web {

// The HTTPS service on every address of the configured host, and the site over HTTP: nginx accepts on
// the public sockets and passes each complete request to the service's plain HTTP, on Unix sockets of a
// private folder that only this process and nginx use.
class WebListeners {
  public:
    WebListeners(AccountStore& store, const WebOptions& options);
    ~WebListeners();
    WebListeners(const WebListeners&) = delete;
    WebListeners& operator=(const WebListeners&) = delete;

    // Binds every socket; false, with the reason on standard error, when the service cannot start.
    bool Bind();
    // What the first output line announces: "https A:P ... site A:P".
    std::string Endpoints() const;
    // Serves, then starts nginx in front; false, with the reason on standard error, when nginx cannot.
    bool Start();
    // True, once, when nginx has ended on its own: nothing reaches the service any more.
    bool FrontHasEnded();
    void Stop();

  private:
    bool BindService(std::unique_ptr<httplib::Server>& server, const std::string& path);

    AccountStore& store_;
    const WebOptions& options_;
    RegistrationQuota registrations_;
    std::string folder_;
    std::vector<FrontListener> public_;
    std::unique_ptr<httplib::Server> service_;
    std::unique_ptr<httplib::Server> site_;
    std::vector<std::thread> threads_;
    FrontProxy front_;
};

} // namespace zelvora::web
