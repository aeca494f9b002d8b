// Placeholder until the termios implementation lands: keeps the properties,
// and every port operation fails as an unopenable port would.
#include "rig/ComPort.h"

namespace drmq {

struct TComPort::Impl {
    TPortResolver resolver;
    std::string port = "COM1";
    TBaudRate baud = br9600;
    TStopBits stop = sbOneStopBit;
    TDTRFlowControl dtr = dtrDisable;
    TRTSFlowControl rts = rtsDisable;
};

TComPort::TComPort() : impl_(new Impl) {}
TComPort::~TComPort() { delete impl_; }
void TComPort::SetResolver(TPortResolver resolver) { impl_->resolver = std::move(resolver); }
void TComPort::SetPort(const std::string &name) { impl_->port = name; }
const std::string &TComPort::Port() const { return impl_->port; }
void TComPort::SetBaudRate(TBaudRate rate) { impl_->baud = rate; }
TBaudRate TComPort::BaudRate() const { return impl_->baud; }
void TComPort::SetStopBits(TStopBits bits) { impl_->stop = bits; }
TStopBits TComPort::StopBits() const { return impl_->stop; }
void TComPort::SetDataBits(TDataBits) {}
void TComPort::SetDiscardNull(bool) {}
void TComPort::SetParityCheck(bool) {}
void TComPort::SetControlDTR(TDTRFlowControl mode) { impl_->dtr = mode; }
TDTRFlowControl TComPort::ControlDTR() const { return impl_->dtr; }
void TComPort::SetControlRTS(TRTSFlowControl mode) { impl_->rts = mode; }
TRTSFlowControl TComPort::ControlRTS() const { return impl_->rts; }
bool TComPort::Connected() const { return false; }
void TComPort::OpenPort() { throw EComPort(1, "Unable to open com port"); }
void TComPort::ClosePort() {}
void TComPort::DriveDTR(bool) { throw EComPort(12, "EscapeCommFunction function failed"); }
int TComPort::SendBytes(std::string_view) { throw EComPort(2, "WriteFile function failed"); }
int TComPort::ReceiveBytes(std::string &, int) { throw EComPort(3, "ReadFile function failed"); }
int TComPort::WaitingCount() { throw EComPort(10, "ClearCommError function failed"); }

} // namespace drmq
