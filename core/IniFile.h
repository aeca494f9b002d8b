// TIniFile: a settings file with the rules of Windows private-profile files,
// held in memory as single-byte lines and saved in one atomic step. UI thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace drmq {

class TIniFile {
public:
    // Reads the file if it exists; a missing file is an empty one.
    explicit TIniFile(std::string path);

    const std::string &FileName() const { return path_; }

    bool ValueExists(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    // Decimal, "0x"/"0X" or "$" hexadecimal; anything else gives def.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    // Writes go to memory; UpdateFile() puts them on disk.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    // Writes the whole file beside the old one and renames it over it, so a
    // failure never leaves a half-written file. Raises ERunError with
    // "In <path> kann nicht geschrieben werden" when that is impossible.
    void UpdateFile() const;

    // The file's text as it would be saved (CR LF line ends).
    std::string Text() const;

    static constexpr size_t kMaxValueLength = 2047;

private:
    struct Line {
        std::string text;
    };
    // Index of the section header line, or -1.
    long FindSection(std::string_view section) const;
    // Index of the key line inside the section starting at header, or -1.
    long FindKey(long header, std::string_view key) const;
    long SectionEnd(long header) const;

    std::string path_;
    std::vector<std::string> lines_;
};

} // namespace drmq
