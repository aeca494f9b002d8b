#include "core/IniFile.h"

#include "core/RunErrors.h"
#include "core/SameText.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace drmq {

namespace {
std::string_view Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

// "[name]" -> name; otherwise false.
bool SectionName(std::string_view line, std::string_view &name) {
    const std::string_view t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    const size_t close = t.find(']');
    if (close == std::string_view::npos) return false;
    name = Trim(t.substr(1, close - 1));
    return true;
}

bool KeyOf(std::string_view line, std::string_view &key) {
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    const std::string_view t = Trim(line);
    if (!t.empty() && (t.front() == ';' || t.front() == '[')) return false;
    key = Trim(line.substr(0, eq));
    return true;
}

std::string ValueOf(std::string_view line) {
    std::string_view v = Trim(line.substr(line.find('=') + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    if (v.size() > TIniFile::kMaxValueLength) v = v.substr(0, TIniFile::kMaxValueLength);
    return std::string(v);
}
} // namespace

TIniFile::TIniFile(std::string path) : path_(std::move(path)) {
    std::FILE *f = std::fopen(path_.c_str(), "rb");
    if (!f) return;
    std::string content;
    char buf[8192];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) content.append(buf, n);
    std::fclose(f);
    size_t start = 0;
    while (start < content.size()) {
        size_t lf = content.find('\n', start);
        std::string line = content.substr(start, lf == std::string::npos ? std::string::npos : lf - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(std::move(line));
        if (lf == std::string::npos) break;
        start = lf + 1;
    }
}

long TIniFile::FindSection(std::string_view section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        std::string_view name;
        if (SectionName(lines_[i], name) && SameText(name, Trim(section))) return static_cast<long>(i);
    }
    return -1;
}

long TIniFile::SectionEnd(long header) const {
    size_t i = static_cast<size_t>(header) + 1;
    std::string_view name;
    while (i < lines_.size() && !SectionName(lines_[i], name)) ++i;
    return static_cast<long>(i);
}

long TIniFile::FindKey(long header, std::string_view key) const {
    const long end = SectionEnd(header);
    for (long i = header + 1; i < end; ++i) {
        std::string_view k;
        if (KeyOf(lines_[static_cast<size_t>(i)], k) && SameText(k, Trim(key))) return i;
    }
    return -1;
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
    const long header = FindSection(section);
    return header >= 0 && FindKey(header, key) >= 0;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
    const long header = FindSection(section);
    if (header < 0) return std::string(def);
    const long line = FindKey(header, key);
    if (line < 0) return std::string(def);
    return ValueOf(lines_[static_cast<size_t>(line)]);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
    if (!ValueExists(section, key)) return def;
    int value = def;
    return TryStrToInt(ReadString(section, key, ""), value) ? value : def;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::string line = std::string(Trim(key)) + "=" + std::string(value);
    long header = FindSection(section);
    if (header < 0) {
        lines_.push_back("[" + std::string(Trim(section)) + "]");
        lines_.push_back(std::move(line));
        return;
    }
    const long existing = FindKey(header, key);
    if (existing >= 0) {
        lines_[static_cast<size_t>(existing)] = std::move(line);
        return;
    }
    // After the section's last non-blank line, so a blank separator stays below.
    long insert = SectionEnd(header);
    while (insert > header + 1 && Trim(lines_[static_cast<size_t>(insert - 1)]).empty()) --insert;
    lines_.insert(lines_.begin() + insert, std::move(line));
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::string TIniFile::Text() const {
    std::string out;
    for (const auto &l : lines_) {
        out += l;
        out += "\r\n";
    }
    return out;
}

void TIniFile::UpdateFile() const {
    const std::string tmp = path_ + ".tmp";
    const std::string text = Text();
    auto fail = [&](int fd) {
        if (fd >= 0) ::close(fd);
        ::unlink(tmp.c_str());
        throw ERunError("In " + path_ + " kann nicht geschrieben werden");
    };
    // A read-only settings file stays unwritten, as it would in place.
    if (::access(path_.c_str(), F_OK) == 0 && ::access(path_.c_str(), W_OK) != 0) fail(-1);
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) fail(-1);
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(fd);
        }
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        ::unlink(tmp.c_str());
        fail(-1);
    }
    if (::rename(tmp.c_str(), path_.c_str()) != 0) fail(-1);
}

} // namespace drmq
