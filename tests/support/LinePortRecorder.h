// A stand-in for the bare line control that records every line change in
// order ("open COM1", "DTR 1", "RTS 0", "BRK 1", "close"). UI thread.
#pragma once

#include "rig/LinePort.h"

#include <string>
#include <vector>

namespace drmq::test {

class TLinePortRecorder final : public TLinePort {
public:
    void OpenLinePort(const std::string &portName) override;
    void LineDTR(bool on) override;
    void LineRTS(bool on) override;
    void LineBreak(bool on) override;
    void CloseLinePort() override;
    bool LineOpen() const override { return open_; }

    // Line changes made while the port was not open are recorded as well,
    // marked with a leading "!" (the real port would ignore them).
    std::vector<std::string> Events;
    // Makes the next OpenLinePort fail, as a port held elsewhere would.
    bool FailOpen = false;

private:
    void Record(const char *line, bool on);
    bool open_ = false;
};

} // namespace drmq::test
