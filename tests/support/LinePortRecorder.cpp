#include "LinePortRecorder.h"

namespace drmq::test {

void TLinePortRecorder::OpenLinePort(const std::string &portName) {
    open_ = !FailOpen;
    Events.push_back((open_ ? "open " : "!open ") + portName);
}

void TLinePortRecorder::LineDTR(bool on) { Record("DTR", on); }
void TLinePortRecorder::LineRTS(bool on) { Record("RTS", on); }
void TLinePortRecorder::LineBreak(bool on) { Record("BRK", on); }

void TLinePortRecorder::CloseLinePort() {
    Events.push_back(open_ ? "close" : "!close");
    open_ = false;
}

void TLinePortRecorder::Record(const char *line, bool on) {
    Events.push_back(std::string(open_ ? "" : "!") + line + (on ? " 1" : " 0"));
}

} // namespace drmq::test
