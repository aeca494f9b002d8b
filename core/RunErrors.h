// The program's run-time errors and their German texts, from one place:
// file-system failures and failed number conversions. Pure, any thread.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace drmq {

// An error shown to the user in the standard error box; the text is UTF-8.
class ERunError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failed file operation, with its classic I/O error number (2, 3, 5, ...).
class EInOutError : public ERunError {
public:
    EInOutError(int code);
    int Code() const { return code_; }

private:
    int code_;
};

class EConvertError : public ERunError {
public:
    using ERunError::ERunError;
};

// "Datei nicht gefunden" for 2, ..., "E/A-Fehler %d" for any other number.
std::string InOutErrorText(int code);
// Maps an errno value to the classic I/O error number.
int InOutCodeFromErrno(int err);
[[noreturn]] void RaiseFileErrorFromErrno(int err);

// Strict conversions that raise the German conversion texts. The text is
// single-byte (as read from a file) and is shown decoded from Windows-1252.
// Integers: optional sign, decimal or "$"/"0x"/"0X" hexadecimal, 32 bits.
int StrToInt(std::string_view text);
bool TryStrToInt(std::string_view text, int &value);
// Floats: decimal with '.' and optional exponent; surrounding blanks allowed.
double StrToFloat(std::string_view text);
bool TryStrToFloat(std::string_view text, double &value);

} // namespace drmq
