// Window-level test support: a real main window with its dialogs in a fresh
// program folder, a hand-set UTC clock and recorded error boxes. UI thread.
#pragma once

#include "app/Program.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace drmq::test {

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the program; call after writing files into Folder().
    TForm1 &Start();
    // Writes a file into the program folder byte for byte.
    void WriteFile(const std::string &name, const std::string &bytes) const;
    std::string ReadFile(const std::string &name) const;
    std::string Folder() const { return folder_; }
    // Runs the event loop until the condition holds, at most `bound`; false
    // when it never held.
    static bool WaitUntil(const std::function<bool()> &condition,
                          std::chrono::milliseconds bound = std::chrono::seconds(20));
    // Lets every call the window has asked of its receiver link so far reach
    // the device, and what they report reach the window.
    static void SettleLink(TForm1 &form);
    // A settings file that turns the download off, plus any extra lines, and
    // an empty schedule when the test has not written one.
    void WriteSettings(const std::string &extraSettingsLines = "") const;

    std::shared_ptr<TManualClock> clock = std::make_shared<TManualClock>();
    // Timer1 runs on its own, still reading the test's clock (set before Start).
    bool runningTimers = false;
    QStringList errors;   // texts of the error boxes shown
    QStringList messages; // texts of the plain message boxes shown
    // Runs while an error box is "open" (inside the recorder).
    std::function<void()> whileErrorBoxOpen;
    std::unique_ptr<TProgram> program;

private:
    QTemporaryDir dir_;
    std::string folder_;
};

} // namespace drmq::test
