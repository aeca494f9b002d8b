#include "schedule/HttpGet.h"

#include "schedule/HttpReply.h"
#include "schedule/HttpUrl.h"
#include "schedule/NetStream.h"

namespace drmq {

std::string HttpRequestText(const std::string &url) {
    const auto split = SplitHttpUrl(url);
    if (!split) return {};
    return "GET " + split->Path + " HTTP/1.1\r\n" +
           "Host: " + split->HostHeader + "\r\n" +
           "Accept: text/html, */*\r\n"
           "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
           "\r\n";
}

std::string HttpGetText(const std::string &url, const THttpOptions &options) {
    const auto split = SplitHttpUrl(url);
    if (!split) return {};
    try {
        TNetStream stream(*split, options);
        stream.WriteAll(HttpRequestText(url));
        return ReadHttpReply([&](char *buffer, std::size_t size) { return stream.ReadSome(buffer, size); },
                             options.MaxBodyBytes);
    } catch (const std::exception &) {
        // Every failure, network or protocol, is the empty text.
        return {};
    }
}

} // namespace drmq
