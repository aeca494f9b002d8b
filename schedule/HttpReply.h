// Reading one HTTP/1.x reply from a byte stream: status line, headers and
// the body by Content-Length, chunked coding or until close. Pure over its
// byte source; runs on the caller's thread.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace drmq {

// Fills at most `size` bytes of `buffer`; returns 0 when the peer has
// closed. Raises on errors and time-outs.
using TReadSome = std::function<std::size_t(char *buffer, std::size_t size)>;

// The body of a success reply (status 200-299 without a "Location" header).
// The empty text for every other reply, for a malformed one, for a body cut
// short by the peer closing, and for a body over `maxBodyBytes`; then
// `failure`, when given, says why in a few words.
std::string ReadHttpReply(const TReadSome &readSome, std::size_t maxBodyBytes, std::string *failure = nullptr);

} // namespace drmq
