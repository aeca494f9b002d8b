// Shared pieces of the fuzz targets: the input as text, and as the content
// of a file for parsers that read one by its path. Single-threaded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace drmq::fuzz {

inline std::string_view Text(const std::uint8_t *data, std::size_t size) {
    return {reinterpret_cast<const char *>(data), size};
}

// Writes the bytes to this process's own temporary file and returns its path
// (the same file for every input).
const std::string &AsFile(std::string_view bytes);

} // namespace drmq::fuzz
