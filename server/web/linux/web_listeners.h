#pragma once

#include "core/account_store.h"
#include "web_options.h"

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace zelvora::web {

// The HTTPS service on every address of the configured host, and the site over HTTP, each listening on a
// thread of its own until Stop.
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
    void Start();
    void Stop();

  private:
    AccountStore& store_;
    const WebOptions& options_;
    std::vector<std::unique_ptr<httplib::Server>> servers_;
    std::vector<std::string> endpoints_;
    std::vector<std::thread> threads_;
};

} // namespace zelvora::web
