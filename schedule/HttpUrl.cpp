#include "schedule/HttpUrl.h"

#include <algorithm>
#include <cctype>

namespace drmq {

namespace {
bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char p, char t) { return std::tolower(static_cast<unsigned char>(t)) == p; });
}

std::optional<int> ParsePort(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) return std::nullopt;
    int port = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        port = port * 10 + (c - '0');
    }
    if (port < 1 || port > 65535) return std::nullopt;
    return port;
}
} // namespace

std::optional<THttpUrl> SplitHttpUrl(std::string_view url) {
    THttpUrl result;
    if (StartsWithNoCase(url, "http://")) {
        url.remove_prefix(7);
    } else if (StartsWithNoCase(url, "https://")) {
        url.remove_prefix(8);
        result.Secure = true;
        result.Port = 443;
    } else {
        return std::nullopt;
    }
    // The fragment belongs to the reader of the page and is never sent.
    url = url.substr(0, url.find('#'));
    const size_t pathStart = url.find_first_of("/?");
    const std::string_view authority = url.substr(0, pathStart);
    if (pathStart == std::string_view::npos) result.Path = "/";
    else if (url[pathStart] == '?') result.Path = "/" + std::string(url.substr(pathStart));
    else result.Path = std::string(url.substr(pathStart));
    result.HostHeader = std::string(authority);

    std::string_view host = authority;
    std::string_view port;
    if (!host.empty() && host.front() == '[') {
        // An IPv6 address in brackets: "[::1]:8080".
        const size_t close = host.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        const std::string_view rest = host.substr(close + 1);
        host = host.substr(1, close - 1);
        if (!rest.empty()) {
            if (rest.front() != ':') return std::nullopt;
            port = rest.substr(1);
        }
    } else if (const size_t colon = host.rfind(':'); colon != std::string_view::npos) {
        port = host.substr(colon + 1);
        host = host.substr(0, colon);
    }
    if (host.empty()) return std::nullopt;
    if (authority.back() == ':') return std::nullopt;
    if (!port.empty()) {
        const auto number = ParsePort(port);
        if (!number) return std::nullopt;
        result.Port = *number;
    }
    result.Host = std::string(host);
    return result;
}

std::string HostOfUrl(std::string_view url) {
    const auto split = SplitHttpUrl(url);
    return split ? split->Host : std::string(url);
}

} // namespace drmq
