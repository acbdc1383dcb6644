#pragma once

namespace httplib {
class Server;
}

namespace zelvora::web {

// The network's web site as the client opens it in a browser: the documentation and installer pages.
void AddSitePages(httplib::Server& server);

} // namespace zelvora::web
