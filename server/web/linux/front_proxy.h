#pragma once

#include "front_config.h"

#include <string>
#include <sys/types.h>

namespace zelvora::web {

// nginx in front of the service: it accepts on the public sockets, terminates TLS and hands complete,
// bounded requests to the service's Unix sockets. A child of this process, ended with it.
class FrontProxy {
  public:
    FrontProxy() = default;
    ~FrontProxy();
    FrontProxy(const FrontProxy&) = delete;
    FrontProxy& operator=(const FrontProxy&) = delete;

    // Writes the configuration and starts nginx; true once it has taken the sockets, false with nginx's
    // own reason on standard error when it ended instead.
    bool Start(const FrontSetup& setup);
    // True, once, when nginx has ended on its own; what it exited with goes to the log.
    bool HasEnded();
    void Stop();

  private:
    pid_t pid_ = -1;
};

} // namespace zelvora::web
