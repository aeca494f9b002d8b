#include "support/WindowFixture.h"

#include <QApplication>
#include <QFile>

#include <fstream>
#include <sstream>
#include <thread>

namespace drmq::test {

void WindowFixture::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    folder_ = dir_.path().toStdString() + "/";
    // Monday 2024-03-04 10:00:30 UTC unless a test sets another instant.
    clock->Set(DateTimeParts{2024, 3, 4, 10, 0, 30, 0});
}

void WindowFixture::TearDown() {
    program.reset();
}

bool WindowFixture::WaitUntil(const std::function<bool()> &condition, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

TForm1 &WindowFixture::Start() {
    TForm1Options options;
    options.ProgramFolder = folder_;
    options.Clock = clock;
    options.ShowErrorBox = [this](const QString &text) {
        errors << text;
        if (whileErrorBoxOpen) whileErrorBoxOpen();
    };
    options.ShowMessage = [this](const QString &text) { messages << text; };
    options.StartTimers = runningTimers;
    program = std::make_unique<TProgram>(options);
    // The decoder sequences meet an X session whatever the test machine has;
    // tests of the session itself put the real one back.
    program->Form1->DesktopSession = [] { return TDesktopSession{true, ":0", false}; };
    return *program->Form1;
}

void WindowFixture::WriteFile(const std::string &name, const std::string &bytes) const {
    std::ofstream out(folder_ + name, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string WindowFixture::ReadFile(const std::string &name) const {
    std::ifstream in(folder_ + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WindowFixture::WriteSettings(const std::string &extraSettingsLines) const {
    WriteFile("DRMQuodra.ini", "[Settings]\r\nUpdate=0\r\n" + extraSettingsLines);
    // A schedule without entries, unless the test wrote its own.
    if (!QFile::exists(QString::fromStdString(folder_ + "DRMSchedule.ini")))
        WriteFile("DRMSchedule.ini", "empty schedule\r\n");
}

void WindowFixture::SettleLink(TForm1 &form) {
    // A report may ask for more (a connect's result retunes): two rounds
    // cover the longest such chain.
    for (int round = 0; round < 2; ++round) {
        if (form.Link) form.Link->Finish();
        QApplication::processEvents();
    }
}

} // namespace drmq::test
