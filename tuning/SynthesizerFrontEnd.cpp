#include "tuning/SynthesizerFrontEnd.h"

#include "core/RunErrors.h"
#include "tuning/Synthesizer.h"

namespace drmq {

void TSynthesizerFrontEnd::LO(double khz) {
    const double ifKhz = StrToFloat(fields_.IfKhzText);
    const std::int64_t xtalKhz = StrToInt(fields_.XtalKhzText);
    const auto words = ElektorWords(khz, ifKhz, xtalKhz);
    const int delay = fields_.ElektorDelay;
    TSynthesizerLines lines(lines_, [delay] { BitDelay(delay); });
    for (std::uint16_t word : words) lines.WordOut(word);
}

void TSynthesizerFrontEnd::CMDout(const std::string &bytes) {
    const int delay = fields_.Drt1Delay;
    TSynthesizerLines lines(lines_, [delay] { BitDelay(delay); });
    lines.CMDout(fields_.PortName, bytes);
}

bool TSynthesizerFrontEnd::FTWout(double hz) {
    const auto command = Drt1TuningCommand(hz, fields_.FirstIfOffset, fields_.MultiplierIndex);
    if (!command) return false;
    CMDout(*command);
    return true;
}

void TSynthesizerFrontEnd::Register1() {
    CMDout(Drt1ControlRegister1());
}

void TSynthesizerFrontEnd::Register2() {
    CMDout(Drt1ControlRegister2(fields_.MultiplierIndex, fields_.ChargePumpIndex));
}

} // namespace drmq
