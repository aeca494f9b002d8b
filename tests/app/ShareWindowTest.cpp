// The shared receiver as a Hamlib program meets it: Hamlib's own NET rigctl
// client (model 2), linked in as Dream links it, against the main window
// with a TS-850 on a pseudo-terminal.
#include "rig/ComPort.h"
#include "rig/ReceiverModel.h"
#include "rig/ShareServer.h"
#include "support/EventLoopWait.h"
#include "support/PtyPair.h"
#include "support/Rigctld.h"
#include "support/WindowFixture.h"

#include <hamlib/rig.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace drmq {
namespace {

// What a Hamlib client saw, read on its own thread.
struct THamlibView {
    int OpenCode = 0;
    freq_t FreqBefore = 0;
    int SetCode = 0;
    freq_t FreqAfter = 0;
    int LevelCode = 0;
    int Strength = 0;
};

class ShareWindowTest : public test::WindowFixture {
protected:
    TForm1 &StartSharing(int model = rmTS850, const std::string &extraLines = "") {
        WriteSettings("Receiver=" + std::to_string(model) + "\r\nCOM Port=0\r\nQRG=6095\r\nShare receiver=1\r\n" +
                      "Share port=0\r\n" + extraLines + "[Ports]\r\nCOM1=" + pty.DevicePath() + "\r\n");
        TForm1 &form = Start();
        errors.clear(); // no schedule in the program folder
        form.DecoderControl = {[](const QString &) { return false; }, [](const QString &, bool) { return true; }, {}};
        return form;
    }

    // Runs the client's calls on a thread of its own while the window's
    // event loop goes on, as two programs would.
    void RunClient(const std::function<void()> &calls) {
        std::atomic<bool> done{false};
        std::thread client([&] {
            calls();
            done = true;
        });
        const bool ended = test::ProcessEventsUntil([&] { return done.load(); }, 20000);
        client.join();
        ASSERT_TRUE(ended);
    }

    static THamlibView OpenAndTune(int port, freq_t hz) {
        THamlibView view;
        rig_set_debug(RIG_DEBUG_NONE);
        RIG *rig = rig_init(RIG_MODEL_NETRIGCTL);
        const std::string address = "127.0.0.1:" + std::to_string(port);
        rig_set_conf(rig, rig_token_lookup(rig, "rig_pathname"), address.c_str());
        view.OpenCode = rig_open(rig);
        if (view.OpenCode == RIG_OK) {
            rig_get_freq(rig, RIG_VFO_CURR, &view.FreqBefore);
            view.SetCode = rig_set_freq(rig, RIG_VFO_CURR, hz);
            rig_get_freq(rig, RIG_VFO_CURR, &view.FreqAfter);
            value_t level{};
            view.LevelCode = rig_get_level(rig, RIG_VFO_CURR, RIG_LEVEL_STRENGTH, &level);
            view.Strength = level.i;
            rig_close(rig);
        }
        rig_cleanup(rig);
        return view;
    }

    test::TPtyPair pty;
};

TEST_F(ShareWindowTest, AHamlibClientReadsAndTunesTheReceiverAndIsRefusedWhileALogRuns) {
    TForm1 &form = StartSharing();
    ASSERT_TRUE(form.chkshare->isChecked());
    const int port = form.Share->Port();
    ASSERT_GT(port, 0);
    form.checkaor->click();
    ASSERT_TRUE(form.checkaor->isChecked());
    pty.ReadUntilQuiet();
    // The TS-850 shows 20 x 4 - 26 = 54 dBuV, which is 20 dB over S9.
    pty.Write("SM0020;");
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return form.ComPort1->WaitingCount() == 7; }));
    clock->AdvanceSeconds(1);
    form.Timer1Timer();
    ASSERT_EQ(form.lblsm->text(), "54");
    pty.ReadUntilQuiet();

    THamlibView view;
    RunClient([&] { view = OpenAndTune(port, 7300000); });
    EXPECT_EQ(view.OpenCode, RIG_OK);
    EXPECT_EQ(view.FreqBefore, 6095000);
    EXPECT_EQ(view.SetCode, RIG_OK);
    EXPECT_EQ(view.FreqAfter, 7300000);
    EXPECT_EQ(view.LevelCode, RIG_OK);
    EXPECT_EQ(view.Strength, 20);
    // Tuned as the user tunes: the field and the receiver's command.
    EXPECT_EQ(form.Edit1->text(), "7300");
    EXPECT_EQ(pty.ReadUntilQuiet(), "FA00007300000;");

    // While a log runs the client is refused and nobody is asked.
    int prompts = 0;
    form.AttentionAnswer = [&] { return ++prompts, 1; };
    form.Button3->click();
    ASSERT_TRUE(form.LogRunning);
    RunClient([&] { view = OpenAndTune(port, 9500000); });
    EXPECT_EQ(view.SetCode, -RIG_ERJCTED);
    EXPECT_EQ(view.FreqAfter, 7300000);
    EXPECT_EQ(prompts, 0);
    EXPECT_EQ(form.Edit1->text(), "7300");
    EXPECT_EQ(pty.ReadUntilQuiet(), "");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(ShareWindowTest, AReceiverThatReportsNoLevelAnswersTheLevelWithAnError) {
    TForm1 &form = StartSharing(rmNRD535);
    form.checkaor->click();
    ASSERT_TRUE(form.checkaor->isChecked());
    clock->AdvanceSeconds(1);
    form.Timer1Timer();
    test::TRigctlConnection client(form.Share->Port());
    ASSERT_TRUE(client.Connected());
    EXPECT_EQ(client.Ask("l STRENGTH"), std::vector<std::string>{"RPRT -11"});
    EXPECT_EQ(client.Ask("+l STRENGTH", 2), (std::vector<std::string>{"get_level: STRENGTH", "RPRT -11"}));
    EXPECT_EQ(client.Ask("f"), std::vector<std::string>{"6095000"});
}

TEST_F(ShareWindowTest, APortTakenGivesOneMessageAndTheBoxUnticked) {
    const int taken = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(taken, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(taken, 1), 0);
    socklen_t length = sizeof address;
    ::getsockname(taken, reinterpret_cast<sockaddr *>(&address), &length);
    const int port = ntohs(address.sin_port);

    WriteSettings("Share receiver=1\r\nShare port=" + std::to_string(port) + "\r\n");
    TForm1 &form = Start();
    EXPECT_FALSE(form.chkshare->isChecked());
    ASSERT_EQ(errors.filter("Cannot share").size(), 1) << errors.join("; ").toStdString();
    EXPECT_TRUE(errors.filter("Cannot share").front().contains(QString::number(port)));
    // The user's choice of port stays for the next start.
    form.close();
    EXPECT_NE(ReadFile("DRMQuodra.ini").find("Share port=" + std::to_string(port) + "\r\n"), std::string::npos);
    ::close(taken);
}

} // namespace
} // namespace drmq
