// Low-level access to a serial device node shared by the port and the bare
// line control: exclusive open, line settings, modem-control lines. Any thread.
#pragma once

#include <string>

namespace drmq {

// Opens a tty for read and write, non-blocking and exclusively: TIOCEXCL
// keeps out other openers, and an advisory lock keeps out other processes
// and handles that would slip past TIOCEXCL (root). Returns the descriptor,
// or -1 with the errno in err (EBUSY when another holder has the device).
int OpenExclusiveDevice(const std::string &path, int &err);
void CloseDevice(int fd);

// Raw 8-bit lines as the receivers use them: no parity bit, no output flow
// control of any kind, reads that never wait. Returns 0 or an errno.
struct TLineSettings {
    int baud = 9600; // 1200, 4800, 9600 or 19200
    bool twoStopBits = false;
    bool parityCheck = false;
};
int ApplyLineSettings(int fd, const TLineSettings &settings);

enum class TLineResult { Done, NoModemLines, Failed };
// Switches a modem-control line (TIOCM_DTR or TIOCM_RTS) at once. Devices
// without such lines (pseudo-terminals) answer NoModemLines.
TLineResult SetModemLine(int fd, int line, bool on, int &err);

// " (win error code: %d)" appended to a message, with the platform's errno.
std::string WithErrorCode(const std::string &message, int err);

} // namespace drmq
