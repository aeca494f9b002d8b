// Test support: a main window whose COM1 is the program side of a
// pseudo-terminal pair, with helpers to connect and disconnect. UI thread.
#pragma once

#include "PtyPair.h"
#include "SimReceiver.h"
#include "WindowFixture.h"

namespace drmq::test {

class RigWindowFixture : public WindowFixture {
protected:
    // Starts the program with the receiver model on COM1 and extra settings lines.
    TForm1 &StartWith(int model, const std::string &extraSettingsLines = "", const std::string &com1 = "");
    // Ticks or unticks "Connect" as a user's click does.
    void Click() { form->checkaor->click(); }

    TPtyPair pty;
    // Takes every byte at the far end from the start.
    TSimReceiver rig{pty};
    TForm1 *form = nullptr;
};

} // namespace drmq::test
