// Start Log and Stop Log against a stand-in Dream on the X server: its log
// goes on and off as its files show, only Alt+E reaches its main window and
// only Alt+L its evaluation window, the program's window has the focus
// afterwards, the level chart shows what Dream decoded, and a Dream that
// does not follow is reported.
#include "logging/DesktopAutomation.h"
#include "logging/DreamFiles.h"
#include "logging/LevelChartWindow.h"
#include "rig/ReceiverModel.h"
#include "support/EventLoopWait.h"
#include "support/LogWorkingDir.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineSeries>
#include <QScatterSeries>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace drmq {
namespace {

constexpr int kBoundMs = 30000;

// The stand-in Dream in a working folder of its own.
class TStandInDream {
public:
    explicit TStandInDream(const QStringList &arguments) {
        process_.setWorkingDirectory(folder_.path());
        process_.start(DRMQ_STANDIN_DREAM, arguments);
    }
    ~TStandInDream() {
        process_.kill();
        process_.waitForFinished();
    }
    QString Folder() const { return QDir(folder_.path()).canonicalPath(); }
    QString Keys() const {
        QFile file(folder_.path() + "/keys.txt");
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    QTemporaryDir folder_;
    QProcess process_;
};

class DreamLogTest : public test::WindowFixture {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs a real X display";
        WindowFixture::SetUp();
    }
    // With a receiver that reports a level, so that the chart has a running block.
    TForm1 &StartProgram() {
        WriteSettings("Receiver=" + std::to_string(rmFRG100) + "\r\nRXL Log=1\r\nSoftware RX=1\r\nQRG=6095\r\n");
        TForm1 &form = Start();
        errors.clear(); // no schedule in the program folder
        form.DesktopSession = CurrentDesktopSession;
        form.show();
        form.activateWindow();
        EXPECT_TRUE(test::ProcessEventsUntil([&] { return QApplication::activeWindow() == &form; }, kBoundMs));
        return form;
    }
    static bool WindowOf(const TStandInDream &dream, const char *title) {
        return test::ProcessEventsUntil([&] { return FindWindow(title).Folder == dream.Folder(); }, kBoundMs);
    }
    static bool Settled(TForm1 &form) {
        return test::ProcessEventsUntil([&] { return !form.DreamLog.Busy(); }, kBoundMs);
    }
    static bool ProgramHasFocus(TForm1 &form) {
        return test::ProcessEventsUntil([&] { return QApplication::activeWindow() == &form; }, kBoundMs);
    }

    test::LogWorkingDir dir;
};

TEST_F(DreamLogTest, StartAndStopSwitchDreamsLogAndNoOtherKeyLandsInDream) {
    // Dream's minutes pass quickly here, so that the chart gets some.
    TStandInDream dream({"--minute-ms", "300"});
    ASSERT_TRUE(WindowOf(dream, "Dream"));
    clock->Set(TSystemClock().UtcNow());
    TForm1 &form = StartProgram();

    form.Button3->click();
    EXPECT_TRUE(form.LogRunning);
    ASSERT_TRUE(Settled(form));
    EXPECT_EQ(DreamLogState(dream.Folder()), TDreamLogState::Running);
    EXPECT_EQ(dream.Keys().toStdString(), "Dream: Alt+E\nSystem Evaluation: Alt+L\n");
    EXPECT_EQ(form.StatusBar1->currentMessage().toStdString(), "");
    EXPECT_TRUE(ProgramHasFocus(form));

    // The chart shows the minutes Dream writes, one without sync marked.
    form.DreamReadTimer.setInterval(100);
    form.ShowLevelChart();
    ASSERT_TRUE(test::ProcessEventsUntil(
        [&] {
            const auto series = form.LevelChart->RowDreamSeries(0);
            return series.Snr && series.Snr->count() >= 4;
        },
        kBoundMs));
    EXPECT_GE(form.LevelChart->RowDreamSeries(0).NoSync->count(), 1);
    form.activateWindow();
    ASSERT_TRUE(ProgramHasFocus(form));

    form.Button4->click();
    EXPECT_FALSE(form.LogRunning);
    ASSERT_TRUE(Settled(form));
    EXPECT_EQ(DreamLogState(dream.Folder()), TDreamLogState::Stopped);
    EXPECT_EQ(dream.Keys().toStdString(), "Dream: Alt+E\nSystem Evaluation: Alt+L\nSystem Evaluation: Alt+L\n");
    EXPECT_EQ(form.StatusBar1->currentMessage().toStdString(), "");
    EXPECT_TRUE(ProgramHasFocus(form));
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(DreamLogTest, ADreamThatDoesNotFollowIsReportedAndTheProgramLogsOn) {
    TStandInDream dream({"--with-evaluation", "--deaf"});
    ASSERT_TRUE(WindowOf(dream, "System Evaluation"));
    TForm1 &form = StartProgram();

    form.Button3->click();
    ASSERT_TRUE(Settled(form));
    EXPECT_EQ(form.StatusBar1->currentMessage().toStdString(), "Dream did not start its log");
    EXPECT_TRUE(form.LogRunning);
    EXPECT_EQ(dream.Keys().toStdString(), "System Evaluation: Alt+L\n");
    EXPECT_TRUE(ProgramHasFocus(form));
}

} // namespace
} // namespace drmq
