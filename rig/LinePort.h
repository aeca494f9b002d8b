// Bare control of a serial port's DTR, RTS and break lines, for the front
// ends clocked through those lines. UI thread; every failure is silent.
#pragma once

#include "rig/ComPort.h"

#include <string>

namespace drmq {

class TLinePort {
public:
    virtual ~TLinePort() = default;
    // Opens the port (name "COM1".."COM9" or a device path) exclusively and
    // leaves its configuration as the driver has it. When it fails, the line
    // operations do nothing.
    virtual void OpenLinePort(const std::string &portName) = 0;
    virtual void LineDTR(bool on) = 0;
    virtual void LineRTS(bool on) = 0;
    // On holds the transmit line at space (break), off returns it to mark.
    virtual void LineBreak(bool on) = 0;
    virtual void CloseLinePort() = 0;
    virtual bool LineOpen() const = 0;
};

// The real one: ioctls on the device, effective at once, in call order.
class TSerialLinePort final : public TLinePort {
public:
    explicit TSerialLinePort(TPortResolver resolver = {});
    ~TSerialLinePort() override;
    TSerialLinePort(const TSerialLinePort &) = delete;
    TSerialLinePort &operator=(const TSerialLinePort &) = delete;

    void OpenLinePort(const std::string &portName) override;
    void LineDTR(bool on) override;
    void LineRTS(bool on) override;
    void LineBreak(bool on) override;
    void CloseLinePort() override;
    bool LineOpen() const override { return fd_ >= 0; }

private:
    TPortResolver resolver_;
    int fd_ = -1;
};

} // namespace drmq
