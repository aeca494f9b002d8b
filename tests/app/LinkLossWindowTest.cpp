// A receiver that cannot be reached or goes away: connects that fail, an
// adapter unplugged while connected and plugged in again, a disconnect that
// can no longer reach the receiver. Real pseudo-terminals stand in for the
// adapter; a symbolic link in the port mapping stands in for its stable name.
#include "rig/ComPort.h"
#include "receiver/SerialLink.h"
#include "rig/ReceiverModel.h"
#include "support/EventLoopWait.h"
#include "support/LogWorkingDir.h"
#include "support/PtyPair.h"
#include "support/SimReceiver.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace drmq::test {
namespace {

class LinkLossWindowTest : public WindowFixture {
protected:
    void TearDown() override {
        WindowFixture::TearDown();
        rig.reset();
        pty.reset();
    }

    // The adapter's stable name: a symbolic link to the device now plugged in.
    std::string AdapterPath() const { return Folder() + "serial-by-id"; }
    void PlugIn() {
        pty = std::make_unique<TPtyPair>();
        rig = std::make_unique<TSimReceiver>(*pty, TSimFamily::YaesuCat);
        const std::string fresh = AdapterPath() + ".new";
        std::filesystem::create_symlink(pty->DevicePath(), fresh);
        std::filesystem::rename(fresh, AdapterPath());
    }
    // The stable name goes with the device (so no retry can meet another
    // test's terminal under the freed number); closing the far end hangs the
    // line up under the program.
    void Unplug() {
        std::filesystem::remove(AdapterPath());
        rig.reset();
        pty.reset();
    }
    TForm1 &StartWith(int model, const std::string &com1) {
        WriteSettings("Receiver=" + std::to_string(model) + "\r\nCOM Port=0\r\nRXL Log=1\r\n[Ports]\r\nCOM1=" + com1 +
                      "\r\n");
        TForm1 &form = Start();
        form.DecoderControl = {[](const QString &) { return false; }, [](const QString &, bool) { return true; }, {}};
        errors.clear();
        return form;
    }
    void Tick(TForm1 &form, double seconds) {
        clock->AdvanceSeconds(seconds);
        form.Guard(TErrorSource::Clock, [&] { form.Timer1Timer(); });
    }
    // A tick whose requests have reached the far end and whose outcome the
    // window has taken, as between two ticks of the running program.
    void TickAfter(TForm1 &form, double seconds) {
        Tick(form, seconds);
        if (form.Link) form.Link->Finish();
        QCoreApplication::processEvents();
    }
    static QString Status(const TForm1 &form) { return form.StatusBar1->currentMessage(); }
    static bool Disconnected(TForm1 &form) {
        return !form.checkaor->isChecked() && !form.ComPort1->Connected() && form.cbrx->isEnabled() &&
               form.cbcom->isEnabled() && !form.Edit1->isEnabled();
    }

    std::unique_ptr<TPtyPair> pty;
    std::unique_ptr<TSimReceiver> rig;
};

TEST_F(LinkLossWindowTest, UnpluggedReceiverIsToldOnceAndComesBackWithItsConnectCommands) {
    LogWorkingDir logDir;
    WriteFile("FRG100.cal", "5,7,");
    PlugIn();
    TForm1 &form = StartWith(rmFRG100, AdapterPath());
    form.checkaor->click();
    // The FRG100's two initialisation writes, then its five-byte tuning.
    const std::string connectBytes = rig->Received(10);
    ASSERT_EQ(connectBytes.size(), 10u);
    form.SetFreq("7325");
    const std::string tuneBytes = rig->Received(5);
    ASSERT_EQ(tuneBytes.size(), 5u);
    form.Button3->click(); // a log runs through the loss
    rig->SendFrg100Reading(0x40);
    ASSERT_TRUE(ProcessEventsUntil([&] { return form.Readings.SMeterByte == 0x40; }, 10000));
    TickAfter(form, 1);
    EXPECT_EQ(rig->Received(5).size(), 5u) << "each tick asks for the S-meter";

    Unplug();
    // The tick's request meets the dead line before the line's own report arrives.
    TickAfter(form, 60);
    ASSERT_TRUE(ProcessEventsUntil([&] { return Status(form).startsWith("Receiver lost: "); }, 10000));
    const QString lost = Status(form);
    for (int i = 0; i < 90; ++i) TickAfter(form, 1);
    ProcessEventsFor(100);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_TRUE(form.checkaor->isChecked());
    EXPECT_FALSE(form.ComPort1->Connected()) << "closed, so the device can come back";
    EXPECT_TRUE(form.LogRunning);
    EXPECT_EQ(Status(form), lost);

    PlugIn();
    TickAfter(form, 1);
    TickAfter(form, 3);
    const std::string again = rig->Received(connectBytes.size() + tuneBytes.size());
    EXPECT_EQ(again.substr(0, connectBytes.size() + tuneBytes.size()), connectBytes + tuneBytes);
    EXPECT_TRUE(form.ComPort1->Connected());
    EXPECT_EQ(Status(form), "");
    rig->SendFrg100Reading(0x40);
    ASSERT_TRUE(ProcessEventsUntil([&] { return form.ComPort1->WaitingCount() == 0; }, 10000));
    for (int i = 0; i < 60; ++i) TickAfter(form, 1);
    form.Button4->click();

    // Minutes with samples before and after the loss, none while it lasted.
    const std::string log = logDir.Read();
    EXPECT_NE(log.find("\r\n  0000 "), std::string::npos) << log;
    EXPECT_EQ(log.find("\r\n  0001 "), std::string::npos) << log;
    EXPECT_NE(log.find("\r\n  0002 "), std::string::npos) << log;
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();

    form.checkaor->click();
    EXPECT_TRUE(Disconnected(form));
}

TEST_F(LinkLossWindowTest, UntickingDuringTheLossStopsTheRetrying) {
    PlugIn();
    TForm1 &form = StartWith(rmNRD535, AdapterPath());
    form.checkaor->click();
    rig->Received(6);
    Unplug();
    ASSERT_TRUE(ProcessEventsUntil([&] { return Status(form).startsWith("Receiver lost: "); }, 10000));
    form.checkaor->click();
    EXPECT_TRUE(Disconnected(form));
    EXPECT_EQ(Status(form), "");
    PlugIn();
    for (int i = 0; i < 10; ++i) TickAfter(form, 1);
    EXPECT_EQ(rig->Received(0), "");
    form.FormClose();
    EXPECT_EQ(rig->Received(0), "") << "an unreachable receiver is not idled at shutdown";
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(LinkLossWindowTest, DisconnectThatCannotReachTheReceiverStillClosesThePort) {
    PlugIn();
    TForm1 &form = StartWith(rmNRD535, AdapterPath());
    form.checkaor->click();
    Unplug();
    // Unticked before the line's own report is served: the closing write fails.
    form.checkaor->click();
    ASSERT_TRUE(ProcessEventsUntil([&] { return errors.size() == 1; }, 10000));
    EXPECT_TRUE(errors[0].startsWith("WriteFile function failed")) << errors[0].toStdString();
    EXPECT_TRUE(Disconnected(form));
    ProcessEventsFor(200);
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(Status(form), "");
}

TEST_F(LinkLossWindowTest, StoppedOutputIsALostLinkAndResumingReconnects) {
    WriteFile("FRG100.cal", "5,7,");
    PlugIn();
    TForm1 &form = StartWith(rmFRG100, AdapterPath());
    form.checkaor->click();
    const std::string init = rig->Received(10);
    ASSERT_EQ(init.size(), 10u);
    // A stuck adapter or flow control: the line takes no more output.
    const int line = ::open(pty->DevicePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(line, 0);
    ASSERT_EQ(::tcflow(line, TCOOFF), 0);
    // The clock runs on while the tick's S-meter request waits at the port,
    // until the request's time-out reports the link lost.
    for (int i = 0; i < 3; ++i) {
        const QString caption = form.windowTitle();
        Tick(form, 1);
        EXPECT_NE(form.windowTitle(), caption);
    }
    ASSERT_TRUE(ProcessEventsUntil([&] { return Status(form).startsWith("Receiver lost: "); }, 10000));
    EXPECT_EQ(Status(form).toStdString(), std::string("Receiver lost: ") + TSerialLink::kWriteTimedOut);
    EXPECT_TRUE(form.checkaor->isChecked());
    EXPECT_FALSE(form.ComPort1->Connected());

    ASSERT_EQ(::tcflow(line, TCOON), 0);
    ::close(line);
    for (int i = 0; i < 5 && !Status(form).isEmpty(); ++i) {
        TickAfter(form, 3);
        form.Link->Finish();
        ProcessEventsUntil([&] { return Status(form).isEmpty(); }, 2000);
    }
    EXPECT_EQ(Status(form), "");
    EXPECT_TRUE(form.ComPort1->Connected());
    // Connected again with the initialisation, then tuned to the field.
    const std::string tune("\x00\x95\x60\x00\x0A", 5);
    const std::string again = rig->Received(init.size() + tune.size());
    ASSERT_GE(again.size(), init.size() + tune.size());
    EXPECT_EQ(again.substr(again.size() - init.size() - tune.size()), init + tune);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

// Holds a device the way another program does, from another process.
class OtherProgramHolding {
public:
    explicit OtherProgramHolding(const std::string &path) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
            if (fd >= 0) ::flock(fd, LOCK_EX);
            [[maybe_unused]] auto n = ::write(ready[1], "x", 1);
            for (;;) ::pause();
        }
        char c;
        [[maybe_unused]] auto n = ::read(ready[0], &c, 1);
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~OtherProgramHolding() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }

private:
    pid_t pid_ = -1;
};

TEST_F(LinkLossWindowTest, ConnectThatCannotOpenLeavesTheProgramDisconnected) {
    PlugIn();
    OtherProgramHolding holder(pty->DevicePath());
    for (const std::string &com1 : {Folder() + "no-such-tty", AdapterPath()}) {
        SCOPED_TRACE(com1);
        TForm1 &form = StartWith(rmFT847, com1);
        form.checkaor->click();
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].startsWith("Unable to open com port")) << errors[0].toStdString();
        EXPECT_TRUE(Disconnected(form));
        EXPECT_FALSE(form.PortUsed);
        for (int i = 0; i < 5; ++i) TickAfter(form, 1);
        form.FormClose();
        EXPECT_EQ(errors.size(), 1) << errors.join("; ").toStdString();
        EXPECT_EQ(rig->Received(0), "");
    }
}

TEST_F(LinkLossWindowTest, ClockRunsOnWhileABoxFromATickIsOpen) {
    // A log file on a full disk: every finished minute fails to be written.
    LogWorkingDir logDir;
    std::filesystem::create_symlink("/dev/full", logDir.Path() + "/DRMQuodra.log");
    runningTimers = true;
    TForm1 &form = StartWith(rmFRG100, Folder() + "no-such-tty");
    form.Button3->click(); // its header cannot be written either
    ASSERT_TRUE(form.LogRunning);
    // A tick has taken the first minute's first sample.
    ASSERT_TRUE(ProcessEventsUntil([&] { return form.Panel(1)->text() == "Logged: 0 min"; }, 10000));
    errors.clear();
    QStringList captionsWhileOpen;
    whileErrorBoxOpen = [&] {
        const QString first = form.windowTitle();
        clock->AdvanceSeconds(1);
        ProcessEventsUntil([&] { return form.windowTitle() != first; }, 10000);
        captionsWhileOpen << first << form.windowTitle();
    };
    clock->AdvanceSeconds(61);
    ASSERT_TRUE(ProcessEventsUntil([&] { return !errors.isEmpty(); }, 10000));
    ASSERT_EQ(captionsWhileOpen.size(), 2);
    EXPECT_NE(captionsWhileOpen[0].toStdString(), captionsWhileOpen[1].toStdString()) << "the caption clock stood still";
    EXPECT_EQ(errors.size(), 1) << errors.join("; ").toStdString();
}

} // namespace
} // namespace drmq::test
