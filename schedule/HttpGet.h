// HttpGetText: one HTTP/1.1 GET of a URL into a text, over a fresh
// connection (plain or TLS). Every failure gives the empty text. Blocks the
// calling thread until the reply is complete or a time-out ends it.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>

namespace drmq {

struct THttpOptions {
    // Giving up on name resolution plus connecting.
    std::chrono::milliseconds ConnectTimeout{10000};
    // Giving up when a read (or write) makes no progress for this long.
    std::chrono::milliseconds StallTimeout{15000};
    // Giving up on the whole request.
    std::chrono::milliseconds TotalTimeout{60000};
    // Bodies larger than this are refused.
    std::size_t MaxBodyBytes = 16u * 1024u * 1024u;
    // A PEM file of certificates trusted in addition to the system's store.
    std::string ExtraCaFile;
    // When set and it turns true, every wait ends within a poll slice and
    // the request fails.
    const std::atomic<bool> *Cancel = nullptr;
};

// The request bytes sent for a URL: request line, Host, Accept, User-Agent,
// empty line, each ending in CR LF. Empty when the URL cannot be split.
std::string HttpRequestText(const std::string &url);

// The response body, bytes as characters, for a 2xx reply without a
// "Location" header; the empty text for anything else.
std::string HttpGetText(const std::string &url, const THttpOptions &options = {});

struct THttpResult {
    std::string Body;
    // Why there is no body, in a few words ("HTTP 404", "host not found");
    // empty after success.
    std::string Failure;
};
// The same GET, saying why it failed.
THttpResult HttpGet(const std::string &url, const THttpOptions &options = {});

} // namespace drmq
