#include "core/RunErrors.h"

#include "core/Cp1252.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <string>

namespace drmq {

namespace {
std::string Quoted(std::string_view text) {
    return FromCp1252(text).toStdString();
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
} // namespace

EInOutError::EInOutError(int code) : ERunError(InOutErrorText(code)), code_(code) {}

std::string InOutErrorText(int code) {
    switch (code) {
    case 2: return "Datei nicht gefunden";
    case 3: return "Ungültiger Dateiname";
    case 4: return "Zu viele geöffnete Dateien";
    case 5: return "Dateizugriff verweigert";
    case 100: return "Versuch hinter dem Dateiende zu lesen";
    case 101: return "Zu wenig Speicherplatz";
    case 106: return "Ungültige numerische Eingabe";
    default: return "E/A-Fehler " + std::to_string(code);
    }
}

int InOutCodeFromErrno(int err) {
    switch (err) {
    case ENOENT: return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return 5;
    case ENOSPC:
    case EDQUOT: return 101;
    default: return err;
    }
}

void RaiseFileErrorFromErrno(int err) {
    throw EInOutError(InOutCodeFromErrno(err));
}

bool TryStrToInt(std::string_view text, int &value) {
    // Leading blanks are skipped; nothing may follow the digits, not even a blank.
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    const size_t end = text.size();
    bool negative = false;
    if (i < end && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < end && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < end && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= end)
        return false;
    std::uint64_t acc = 0;
    for (; i < end; ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return false;
        acc = acc * base + digit;
        if (acc > 0xFFFFFFFFull)
            return false;
    }
    if (base == 10) {
        if (negative ? acc > 0x80000000ull : acc > 0x7FFFFFFFull)
            return false;
        value = negative ? static_cast<int>(-static_cast<std::int64_t>(acc)) : static_cast<int>(acc);
    } else {
        // Hexadecimal texts fill all 32 bits ("$FFFFFFFF" is -1).
        const auto bits = static_cast<std::uint32_t>(acc);
        value = static_cast<int>(negative ? 0u - bits : bits);
    }
    return true;
}

int StrToInt(std::string_view text) {
    int value = 0;
    if (!TryStrToInt(text, value))
        throw EConvertError("'" + Quoted(text) + "' ist kein gültiger Integerwert");
    return value;
}

bool TryStrToFloat(std::string_view text, double &value) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    const std::string body(text.substr(i));
    if (body.empty())
        return false;
    // Only the plain decimal syntax: no hex floats, "inf" or "nan".
    size_t p = 0;
    if (body[p] == '+' || body[p] == '-') ++p;
    size_t digits = 0;
    while (p < body.size() && body[p] >= '0' && body[p] <= '9') { ++p; ++digits; }
    if (p < body.size() && body[p] == '.') {
        ++p;
        while (p < body.size() && body[p] >= '0' && body[p] <= '9') { ++p; ++digits; }
    }
    if (digits == 0)
        return false;
    if (p < body.size() && (body[p] == 'e' || body[p] == 'E')) {
        ++p;
        if (p < body.size() && (body[p] == '+' || body[p] == '-')) ++p;
        size_t expDigits = 0;
        while (p < body.size() && body[p] >= '0' && body[p] <= '9') { ++p; ++expDigits; }
        if (expDigits == 0)
            return false;
    }
    if (p != body.size())
        return false;
    // from_chars ignores the C locale, which Qt sets from the environment.
    const char *first = body.c_str() + (body[0] == '+' ? 1 : 0);
    // A value beyond the range of a double is no number, not 0 or infinity.
    return std::from_chars(first, body.c_str() + body.size(), value).ec == std::errc();
}

double StrToFloat(std::string_view text) {
    double value = 0;
    if (!TryStrToFloat(text, value))
        throw EConvertError("'" + Quoted(text) + "' ist kein gültiger Gleitkommawert");
    return value;
}

} // namespace drmq
