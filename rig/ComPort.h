// TComPort: the one serial port of the main window (POSIX termios), opened by
// COM name, with an event thread whose notifications run on the UI thread.
#pragma once

#include "core/RunErrors.h"

#include <functional>
#include <string>
#include <string_view>

namespace drmq {

enum TBaudRate { br1200 = 1200, br4800 = 4800, br9600 = 9600, br19200 = 19200 };
enum TStopBits { sbOneStopBit, sbTwoStopBits };
enum TDataBits { dbEight };
enum TDTRFlowControl { dtrDisable, dtrHandshake };
enum TRTSFlowControl { rtsDisable, rtsHandshake };

// Failure of a port operation: Code() is the number of the message table,
// Errno() the platform's error behind it (0 when none).
class EComPort : public ERunError {
public:
    EComPort(int code, const std::string &text, int err = 0) : ERunError(text), code_(code), errno_(err) {}
    int Code() const { return code_; }
    int Errno() const { return errno_; }
    // The device has gone away (unplugged adapter, hung-up line).
    bool LineGone() const;

private:
    int code_;
    int errno_;
};

// Maps a port name ("COM1".."COM9") to a device path.
using TPortResolver = std::function<std::string(const std::string &portName)>;

class TComPort {
public:
    TComPort();
    ~TComPort();
    TComPort(const TComPort &) = delete;
    TComPort &operator=(const TComPort &) = delete;

    void SetResolver(TPortResolver resolver);

    // Property setters: a changed value takes effect at once on an open port.
    void SetPort(const std::string &name);
    const std::string &Port() const;
    void SetBaudRate(TBaudRate rate);
    TBaudRate BaudRate() const;
    void SetStopBits(TStopBits bits);
    TStopBits StopBits() const;
    void SetDataBits(TDataBits bits);
    void SetDiscardNull(bool discard);
    void SetParityCheck(bool check);
    void SetControlDTR(TDTRFlowControl mode);
    TDTRFlowControl ControlDTR() const;
    void SetControlRTS(TRTSFlowControl mode);
    TRTSFlowControl ControlRTS() const;

    bool Connected() const;
    void OpenPort();
    void ClosePort();
    void DriveDTR(bool on);
    int SendBytes(std::string_view bytes);
    int ReceiveBytes(std::string &buffer, int n);
    int WaitingCount();

    // Runs on the UI thread with Count = WaitingCount() when Count > 0. An
    // exception escaping it ends the event thread silently until reopened.
    std::function<void(int count)> OnRxChar;
    // Runs once on the UI thread when the event thread finds the open line
    // gone (read error, hang-up); the port stays open until closed.
    std::function<void(const std::string &cause)> OnLineLost;

private:
    // Applies the line settings and modem lines to the open port (code 7).
    void ReapplyLineSettings();

    struct Impl;
    Impl *impl_;
};

} // namespace drmq
