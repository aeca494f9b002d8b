// Downloaded texts as the program keeps them: line breaks made CR LF, cut at
// a NUL, split into lines, and written to disk without ever leaving a half
// written file behind. Pure apart from the file functions; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace drmq {

// The text up to its first NUL, with every line break (CR LF, lone LF, lone
// CR) made CR LF.
std::string NormaliseLineBreaks(std::string_view text);

// The lines of a text; a line ends at CR LF, LF or CR, and a break at the
// very end starts no further line ("a\r\n" and "a" both give one line).
std::vector<std::string> SplitLines(std::string_view text);

// The file's bytes; false when it is missing or unreadable.
bool TryReadFileBytes(const std::string &path, std::string &bytes);

// Writes the bytes to a new file beside `path` and renames it over `path`,
// so that readers see the old file or the new one, never a part. Raises
// EInOutError with the German file error text on failure.
void WriteFileAtomically(const std::string &path, std::string_view bytes);

} // namespace drmq
