#pragma once

#include <string>

namespace httplib {
class Server;
}

namespace zelvora::web {

// The network's web site as the client opens it in a browser: the documentation page, and the installer page
// that downloads the setup program at `setupProgram` (read at each request, so a rebuilt one is served).
void AddSitePages(httplib::Server& server, const std::string& setupProgram);

} // namespace zelvora::web
