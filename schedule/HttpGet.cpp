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

std::string HttpGetText(const std::string &url, const THttpOptions &options) { return HttpGet(url, options).Body; }

THttpResult HttpGet(const std::string &url, const THttpOptions &options) {
    THttpResult result;
    const auto split = SplitHttpUrl(url);
    if (!split) {
        result.Failure = "bad URL";
        return result;
    }
    try {
        TNetStream stream(*split, options);
        stream.WriteAll(HttpRequestText(url));
        result.Body = ReadHttpReply([&](char *buffer, std::size_t size) { return stream.ReadSome(buffer, size); },
                                    options.MaxBodyBytes, &result.Failure);
        if (result.Body.empty() && result.Failure.empty()) result.Failure = "empty reply";
    } catch (const std::exception &error) {
        // Every failure, network or protocol, is the empty text.
        result.Body.clear();
        result.Failure = error.what();
    }
    return result;
}

} // namespace drmq
