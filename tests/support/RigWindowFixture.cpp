#include "RigWindowFixture.h"

namespace drmq::test {

TForm1 &RigWindowFixture::StartWith(int model, const std::string &extraSettingsLines, const std::string &com1) {
    WriteSettings("Receiver=" + std::to_string(model) + "\r\nCOM Port=0\r\n" + extraSettingsLines +
                  "[Ports]\r\nCOM1=" + (com1.empty() ? pty.DevicePath() : com1) + "\r\n");
    form = &Start();
    errors.clear();
    messages.clear();
    return *form;
}

} // namespace drmq::test
