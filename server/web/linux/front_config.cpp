#include "front_config.h"

#include "core/upload_records.h"

#include <string_view>

namespace zelvora::web {
namespace {

// Every bound of a connection, from its acceptance to the service's reply. @NAME@ stands for a value of
// this run.
constexpr std::string_view kTemplate = R"nginx(
load_module /usr/lib/nginx/modules/ngx_stream_module.so;
worker_processes 1;
# A connection passes through up to four sockets of the one worker (the client's, the layer between, the
# TLS side, the service): room for every connection allowed below, and a margin.
events { worker_connections 2304; }
worker_rlimit_nofile 4608;
pid "@FOLDER@/nginx.pid";
error_log stderr error;
@USER@
stream {
    # Connections at once, counted from their acceptance, before any byte is read: from one address, and
    # in all. A PC makes one request at a time; a household behind one address has a few.
    limit_conn_zone $binary_remote_addr zone=per_source:1m;
    limit_conn_zone $protocol zone=in_all:1m;
    limit_conn per_source 16;
    limit_conn in_all 512;
    # A refused connection is closed at once; logging each would let a flood fill the log.
    limit_conn_log_level info;
    proxy_protocol on;
    proxy_connect_timeout 5s;
@STREAM_SERVERS@
}
http {
    access_log off;
    server_tokens off;
    client_body_temp_path "@FOLDER@/body";
    proxy_temp_path "@FOLDER@/proxy";
    fastcgi_temp_path "@FOLDER@/fastcgi";
    uwsgi_temp_path "@FOLDER@/uwsgi";
    scgi_temp_path "@FOLDER@/scgi";
    # The client's address, as the stream layer accepted it.
    set_real_ip_from unix:;
    real_ip_header proxy_protocol;
    # The TLS handshake, the request line and the headers together, from the connection's acceptance.
    client_header_timeout 10s;
    # The request line and headers in all: 1 KiB, then at most four buffers of 8 KiB (a line never spans
    # two, so fewer bytes of short lines fit).
    client_header_buffer_size 1k;
    large_client_header_buffers 4 8k;
    # Content-Length or chunked alike: 413 as soon as the body passes the upload record.
    client_max_body_size @UPLOAD_RECORD_BYTES@;
    # The longest silence while a body arrives or a reply leaves; idle keep-alive.
    client_body_timeout 10s;
    send_timeout 10s;
    keepalive_timeout 5s;
    # One range at most, cut by nginx from the whole reply: the service never sees a Range header.
    max_ranges 1;
    proxy_force_ranges on;
    proxy_set_header Range "";
    proxy_set_header If-Range "";
    proxy_set_header X-Real-IP $remote_addr;
    proxy_read_timeout 30s;
    proxy_send_timeout 30s;
    server {
        # Every connection the stream layer allows arrives here at once in a burst: none is refused.
        listen "unix:@FOLDER@/front-tls.sock" ssl proxy_protocol backlog=4096;
        ssl_protocols TLSv1.2 TLSv1.3;
        ssl_certificate "@CERTIFICATE@";
        ssl_certificate_key "@KEY@";
        location / { proxy_pass "http://unix:@SERVICE_SOCKET@:"; }
    }
    server {
        listen "unix:@FOLDER@/front-site.sock" proxy_protocol backlog=4096;
        location / { proxy_pass "http://unix:@SITE_SOCKET@:"; }
    }
}
)nginx";

// Text fit for the inside of a quoted nginx string.
std::string Escaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

void Replace(std::string& text, std::string_view name, std::string_view value) {
    for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + value.size())) {
        text.replace(at, name.size(), value);
    }
}

} // namespace

std::string FrontConfig(const FrontSetup& setup) {
    std::string servers;
    for (const FrontListener& listener : setup.listeners) {
        servers += "    server { listen " + listener.endpoint +
                   "; proxy_pass \"unix:" + Escaped(setup.folder) +
                   (listener.tls ? "/front-tls.sock" : "/front-site.sock") + "\"; }\n";
    }
    std::string text(kTemplate);
    Replace(text, "@USER@", setup.user.empty() ? "" : "user " + setup.user + ";");
    Replace(text, "@STREAM_SERVERS@", servers);
    Replace(text, "@UPLOAD_RECORD_BYTES@", std::to_string(kUploadRecordBytes));
    Replace(text, "@CERTIFICATE@", Escaped(setup.certificate));
    Replace(text, "@KEY@", Escaped(setup.key));
    Replace(text, "@SERVICE_SOCKET@", Escaped(setup.serviceSocket));
    Replace(text, "@SITE_SOCKET@", Escaped(setup.siteSocket));
    Replace(text, "@FOLDER@", Escaped(setup.folder));
    return text;
}

} // namespace zelvora::web
