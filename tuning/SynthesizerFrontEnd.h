// TSynthesizerFrontEnd: the operations of the two synthesizer front ends
// (Elektor tuning, DRT1 registers and tuning word) on the control lines,
// with the field values they read. Thread of its caller.
#pragma once

#include "rig/LinePort.h"

#include <cstdint>
#include <string>

namespace drmq {

// What the front ends read from the window's fields and settings.
struct TSynthesizerFields {
    std::string PortName;      // the port whose lines carry the synthesizer
    std::string IfKhzText;     // Elektor IF (Edit3)
    std::string XtalKhzText;   // Elektor clock (Edit4)
    int MultiplierIndex = 0;   // DRT1 "Multiplikator"
    int ChargePumpIndex = 0;   // DRT1 "Chargepump"
    std::int32_t FirstIfOffset = 0; // DRT1: Hz added to every frequency
    int ElektorDelay = 4000;
    int Drt1Delay = 4000;
};

class TSynthesizerFrontEnd {
public:
    TSynthesizerFrontEnd(TLinePort &lines, TSynthesizerFields fields) : lines_(lines), fields_(std::move(fields)) {}

    // Elektor: the seven words for khz on the port held open; a field that is
    // no number raises the conversion error.
    void LO(double khz);
    // DRT1: one command on a freshly opened port.
    void CMDout(const std::string &bytes);
    // DRT1: the tuning word for hz; false, sending nothing, when the system
    // clock is too low for it.
    bool FTWout(double hz);
    void Register1();
    void Register2();

private:
    TLinePort &lines_;
    TSynthesizerFields fields_;
};

} // namespace drmq
