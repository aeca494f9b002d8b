// Splitting an http:// or https:// URL into what one GET request needs:
// host, port, the Host header text and the request path. Pure, any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace drmq {

struct THttpUrl {
    bool Secure = false;    // https: TLS with the server's certificate verified
    std::string Host;       // name or address to connect to (no brackets)
    int Port = 80;          // 80 for http, 443 for https unless the URL names one
    std::string HostHeader; // host and optional ":port" as written in the URL
    std::string Path;       // as in the URL, "/" when it names none; no fragment
};

// Empty for another scheme, a missing host or an unusable port.
std::optional<THttpUrl> SplitHttpUrl(std::string_view url);

// The host of a URL for display ("drmschedule.example.org"); the URL itself
// when it cannot be split.
std::string HostOfUrl(std::string_view url);

} // namespace drmq
