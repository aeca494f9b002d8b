// Start-up with "Update" ticked against a local server: the schedule update
// and its panel text, the bulletin panels and their colours, chkupdateClick.
#include "support/HttpTestServer.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QImage>

#include <sys/stat.h>
#include <utime.h>

namespace drmq::test {
namespace {

// A schedule file of one block per number, each field ending in its number.
std::string ScheduleOf(const std::vector<int> &numbers, const std::string &lineBreak = "\r\n") {
    std::string text = "[DRMSchedule]" + lineBreak;
    const char *fields[] = {"Days=        =", "Frequency=", "Target=", "Power=", "Programme=", "Language=", "Site=",
                            "Country="};
    for (const int i : numbers) {
        text += "StartStopTimeUTC=0900-1030" + lineBreak;
        for (const char *field : fields) text += std::string(field) + std::to_string(i) + lineBreak;
    }
    return text;
}

// A schedule file of `entries` blocks, line breaks as given.
std::string ScheduleText(int entries, const std::string &lineBreak = "\r\n") {
    std::vector<int> numbers(static_cast<size_t>(entries));
    for (int i = 0; i < entries; ++i) numbers[static_cast<size_t>(i)] = i;
    return ScheduleOf(numbers, lineBreak);
}

std::string Bulletin(const std::string &line8, const std::string &line9) {
    return ":Product: Geophysical Alert Message wwv.txt\r\n:Issued: 2024 Mar 04 0905 UTC\r\n#\r\n#\r\n#\r\n#\r\n"
           "Solar-terrestrial indices for 03 March follow.\r\n" +
           line8 + "\r\n" + line9 + "\r\n";
}

const std::string kClassic = Bulletin("Solar flux 107 and mid-latitude A-index 8.",
                                      "The mid-latitude K-index at 2100 UTC on 29 February was 2 (16 nT).");
const char *const kNotFound = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n";
const char *const kSchedulePath = "/sender/DRMSchedule.ini";
const char *const kBulletinPath = "/text/wwv.txt";

class DownloadWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        server.SetReply(kNotFound);
    }
    // Settings with "Update" ticked, the drmrx feed alone, and both URLs on
    // the local server.
    void WriteUpdateSettings(bool update = true) const {
        WriteFile("DRMQuodra.ini", std::string("[Settings]\r\nSchedule sources=drmrx\r\nUpdate=") + (update ? "1" : "0") +
                                       "\r\nSchedule URL=" + server.Url(kSchedulePath) +
                                       "\r\nBulletin URL=" + server.Url(kBulletinPath) + "\r\n");
    }
    std::vector<std::string> RequestedPaths() const {
        std::vector<std::string> paths;
        for (const auto &request : server.Requests()) {
            const size_t start = request.find(' ') + 1;
            paths.push_back(request.substr(start, request.find(' ', start) - start));
        }
        return paths;
    }
    void AgeSchedule() const {
        utimbuf old{946684800, 946684800};
        ASSERT_EQ(utime((Folder() + "DRMSchedule.ini").c_str(), &old), 0);
    }
    time_t ScheduleTime() const {
        struct stat s {};
        stat((Folder() + "DRMSchedule.ini").c_str(), &s);
        return s.st_mtime;
    }
    bool Exists(const std::string &name) const {
        struct stat s {};
        return stat((Folder() + name).c_str(), &s) == 0;
    }
    // Starts and lets the downloads run to their end.
    TForm1 &StartAndDownload() {
        TForm1 &form = Start();
        EXPECT_TRUE(WaitUntil([&] { return !form.Downloads.Running(); }));
        return form;
    }
    QColor Background(int panel) const { return program->Form1->Panel(panel)->palette().color(QPalette::Window); }

    HttpTestServer server;
};

TEST_F(DownloadWindow, DifferentScheduleReplacesTheFileAndIsLoadedInTheSameStart) {
    WriteUpdateSettings();
    WriteFile("DRMSchedule.ini", ScheduleText(1));
    server.SetReplyFor(kSchedulePath, HttpTestServer::OkReply(ScheduleText(3, "\n")));
    server.SetReplyFor(kBulletinPath, HttpTestServer::OkReply(kClassic));
    TForm1 &form = StartAndDownload();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
    EXPECT_EQ(form.Panel(0)->text(), "Update: done");
    EXPECT_EQ(ReadFile("DRMSchedule.ini"), ScheduleText(3));
    EXPECT_EQ(ReadFile("DRMSchedule.new"), ScheduleText(3));
    EXPECT_EQ(form.Panel(2)->text(), "All: 3");
    // The schedule first, then the bulletin.
    EXPECT_EQ(RequestedPaths(), (std::vector<std::string>{kSchedulePath, kBulletinPath}));
    EXPECT_EQ(ReadFile("wwv.txt"), kClassic);
    EXPECT_EQ(form.Panel(5)->text(), "SF:107");
    EXPECT_EQ(form.Panel(6)->text(), "A:8");
    EXPECT_EQ(form.Panel(7)->text(), "K:2");
    EXPECT_EQ(form.Panel(8)->text(), "2100 29 Feb");
    EXPECT_EQ(form.BulletinLevels.SolarFluxLevel, 4);
    EXPECT_EQ(form.BulletinLevels.AIndexLevel, 2);
    EXPECT_EQ(form.BulletinLevels.KIndexLevel, 1);
}

TEST_F(DownloadWindow, SameScheduleWithOtherLineEndsIsLeftAlone) {
    WriteUpdateSettings();
    WriteFile("DRMSchedule.ini", ScheduleText(2));
    AgeSchedule();
    server.SetReplyFor(kSchedulePath, HttpTestServer::OkReply(ScheduleText(2, "\n")));
    TForm1 &form = StartAndDownload();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
    EXPECT_EQ(form.Panel(0)->text(), "Update: OK");
    EXPECT_EQ(ScheduleTime(), 946684800);
    EXPECT_EQ(ReadFile("DRMSchedule.new"), ScheduleText(2));
    EXPECT_EQ(form.Panel(2)->text(), "All: 2");
}

TEST_F(DownloadWindow, FailedDownloadKeepsTheOldScheduleAndBulletin) {
    WriteUpdateSettings();
    WriteFile("DRMSchedule.ini", ScheduleText(1));
    WriteFile("wwv.txt", kClassic);
    TForm1 &form = StartAndDownload();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
    EXPECT_EQ(form.Panel(0)->text(), "Update: failed");
    EXPECT_EQ(RequestedPaths(), (std::vector<std::string>{kSchedulePath, kBulletinPath}));
    EXPECT_FALSE(Exists("DRMSchedule.new"));
    EXPECT_EQ(ReadFile("DRMSchedule.ini"), ScheduleText(1));
    EXPECT_EQ(form.Panel(2)->text(), "All: 1");
    EXPECT_EQ(ReadFile("wwv.txt"), kClassic);
    EXPECT_EQ(form.Panel(5)->text(), "SF:107");
}

TEST_F(DownloadWindow, UnwritableDownloadIsReportedAndNotCalledOk) {
    WriteUpdateSettings();
    WriteFile("DRMSchedule.ini", ScheduleText(1));
    ASSERT_EQ(mkdir((Folder() + "DRMSchedule.new").c_str(), 0755), 0);
    server.SetReplyFor(kSchedulePath, HttpTestServer::OkReply(ScheduleText(2)));
    TForm1 &form = StartAndDownload();
    EXPECT_EQ(errors, QStringList{"Dateizugriff verweigert"});
    EXPECT_EQ(form.Panel(0)->text(), "Update: failed");
    EXPECT_EQ(ReadFile("DRMSchedule.ini"), ScheduleText(1));
    // The schedule on disk is still shown, as with a read-only program folder.
    EXPECT_EQ(form.Panel(2)->text(), "All: 1");
}

TEST_F(DownloadWindow, StalledServerLeavesTheWindowFreeAndItsLateScheduleKeepsTheSelectedEntry) {
    WriteUpdateSettings();
    WriteFile("DRMSchedule.ini", ScheduleOf({0, 1}));
    server.Hold();
    const auto started = std::chrono::steady_clock::now();
    TForm1 &form = Start();
    // Far below the server's stall time-out of 15 s, which once held the
    // window back.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_EQ(form.Panel(0)->text(), "Update: …");
    EXPECT_EQ(form.Panel(2)->text(), "All: 2");
    ASSERT_TRUE(WaitUntil([&] { return server.Requests().size() == 1; }));
    // Every entry listed; the user picks the second.
    form.chkshowall->setChecked(true);
    form.SetCurrentGridRow(2);
    ASSERT_EQ(form.GridCell(0, 2), "1");

    // Ticking "Update" again during the download starts no second one.
    form.chkupdate->setChecked(false);
    form.chkupdate->setChecked(true);

    server.SetReplyFor(kSchedulePath, HttpTestServer::OkReply(ScheduleOf({5, 0, 1})));
    server.SetReplyFor(kBulletinPath, HttpTestServer::OkReply(kClassic));
    server.Release();
    ASSERT_TRUE(WaitUntil([&] { return !form.Downloads.Running(); }));
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
    EXPECT_EQ(form.Panel(0)->text(), "Update: done");
    EXPECT_EQ(form.Panel(2)->text(), "All: 3");
    // The entry selected before stays selected, one row further down.
    EXPECT_EQ(form.CurrentGridRow(), 3);
    EXPECT_EQ(form.GridCell(0, 3), "1");
    EXPECT_EQ(form.Panel(7)->text(), "K:2");
    EXPECT_EQ(RequestedPaths(), (std::vector<std::string>{kSchedulePath, kBulletinPath}));
}

TEST_F(DownloadWindow, ClosingDuringAStalledDownloadEndsItAtOnceAndWritesNothing) {
    WriteUpdateSettings();
    WriteFile("DRMSchedule.ini", ScheduleText(1));
    server.Hold();
    TForm1 &form = Start();
    ASSERT_TRUE(WaitUntil([&] { return server.Requests().size() == 1; }));
    server.SetReplyFor(kSchedulePath, HttpTestServer::OkReply(ScheduleText(2)));
    const auto closing = std::chrono::steady_clock::now();
    form.close();
    EXPECT_LT(std::chrono::steady_clock::now() - closing, std::chrono::seconds(5));
    EXPECT_FALSE(form.Downloads.Running());
    // Nothing of the download is left to arrive later.
    QApplication::processEvents();
    EXPECT_FALSE(Exists("DRMSchedule.new"));
    EXPECT_EQ(ReadFile("DRMSchedule.ini"), ScheduleText(1));
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
}

TEST_F(DownloadWindow, UpdateOffMakesNoRequest) {
    WriteUpdateSettings(false);
    WriteFile("DRMSchedule.ini", ScheduleText(1));
    TForm1 &form = Start();
    EXPECT_TRUE(server.Requests().empty());
    EXPECT_EQ(form.Panel(0)->text(), "Update: off");
    EXPECT_EQ(form.Panel(2)->text(), "All: 1");
}

TEST_F(DownloadWindow, MissingBulletinNeverStopsTheSchedule) {
    WriteUpdateSettings(false);
    WriteFile("DRMSchedule.ini", ScheduleText(2));
    TForm1 &form = Start();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
    EXPECT_EQ(form.Panel(2)->text(), "All: 2");
    for (int panel = 5; panel <= 8; ++panel) EXPECT_EQ(form.Panel(panel)->text(), "") << panel;
}

TEST_F(DownloadWindow, BulletinWithUnreadableValuesShowsWhatItHas) {
    WriteUpdateSettings(false);
    WriteFile("DRMSchedule.ini", ScheduleText(2));
    WriteFile("wwv.txt", Bulletin("Solar flux n/a and estimated planetary A-index 12.",
                                  "The estimated planetary K-index at 0600 UTC on 16 August was high."));
    TForm1 &form = Start();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
    EXPECT_EQ(form.Panel(2)->text(), "All: 2");
    EXPECT_EQ(form.Panel(5)->text(), "SF:n/a");
    EXPECT_EQ(form.Panel(6)->text(), "A:12");
    EXPECT_EQ(form.Panel(7)->text(), "K:high");
    EXPECT_EQ(form.Panel(8)->text(), "0600 16 Aug");
    EXPECT_EQ(form.BulletinLevels.SolarFluxLevel, 0);
    EXPECT_EQ(form.BulletinLevels.AIndexLevel, 2);
    EXPECT_EQ(form.BulletinLevels.KIndexLevel, 0);
    // Unrated panels keep the status bar's own background.
    EXPECT_EQ(Background(5), form.StatusBar1->palette().color(QPalette::Window));
    EXPECT_EQ(Background(6), QColor(184, 240, 15));
}

TEST_F(DownloadWindow, RecheckingUpdateFetchesOnlyTheBulletinAgain) {
    WriteUpdateSettings(false);
    WriteFile("DRMSchedule.ini", ScheduleText(1));
    TForm1 &form = Start();
    server.SetReplyFor(kSchedulePath, HttpTestServer::OkReply(ScheduleText(5)));
    server.SetReplyFor(kBulletinPath, HttpTestServer::OkReply(kClassic));
    form.chkupdate->setChecked(true);
    ASSERT_TRUE(WaitUntil([&] { return !form.Downloads.Running(); }));
    EXPECT_EQ(RequestedPaths(), std::vector<std::string>{kBulletinPath});
    EXPECT_EQ(form.Panel(7)->text(), "K:2");
    EXPECT_EQ(Background(7), QColor(0, 255, 0));

    // A stormier bulletin: K 6 turns the panel from green to orange.
    server.SetReplyFor(kBulletinPath,
                       HttpTestServer::OkReply(Bulletin("Solar flux 107 and estimated planetary A-index 48.",
                                                        "The estimated planetary K-index at 1200 UTC on 04 March was 6.00.")));
    form.chkupdate->setChecked(false);
    EXPECT_EQ(server.Requests().size(), 1u);
    form.chkupdate->setChecked(true);
    ASSERT_TRUE(WaitUntil([&] { return !form.Downloads.Running(); }));
    EXPECT_EQ(RequestedPaths(), (std::vector<std::string>{kBulletinPath, kBulletinPath}));
    EXPECT_EQ(form.Panel(7)->text(), "K:6.00");
    EXPECT_EQ(form.BulletinLevels.KIndexLevel, 5);
    EXPECT_EQ(Background(7), QColor(255, 128, 0));
    EXPECT_EQ(Background(6), QColor(254, 193, 112));
    // The schedule was never fetched nor touched.
    EXPECT_EQ(ReadFile("DRMSchedule.ini"), ScheduleText(1));
    EXPECT_FALSE(Exists("DRMSchedule.new"));
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
}

TEST_F(DownloadWindow, HintNamesTheScheduleHost) {
    WriteUpdateSettings(false);
    TForm1 &form = Start();
    EXPECT_EQ(form.chkupdate->toolTip(), "Download schedule update during start from 127.0.0.1");
}

TEST_F(DownloadWindow, DefaultHintNamesTheDefaultHost) {
    WriteSettings();
    TForm1 &form = Start();
    EXPECT_EQ(form.chkupdate->toolTip(), "Download schedule update during start from www.drmrx.org");
}

TEST_F(DownloadWindow, RatedPanelIsFilledAndItsTextInset) {
    WriteUpdateSettings(false);
    WriteFile("DRMSchedule.ini", ScheduleText(1));
    WriteFile("wwv.txt", kClassic);
    TForm1 &form = Start();
    form.show();
    QApplication::processEvents();
    QLabel *panel = form.Panel(5);
    const QImage image = panel->grab().toImage();
    const QRect inner = panel->rect().adjusted(panel->frameWidth(), panel->frameWidth(), -panel->frameWidth(),
                                               -panel->frameWidth());
    const QRgb fill = QColor(254, 193, 112).rgb(); // level 4
    // The 5 columns on the left and the top row of the inner rectangle are
    // pure fill; the text starts right of and below them.
    bool textSeen = false;
    for (int y = inner.top(); y <= inner.bottom(); ++y) {
        for (int x = inner.left(); x <= inner.right(); ++x) {
            const bool inset = x < inner.left() + 5 || y < inner.top() + 1;
            if (inset) EXPECT_EQ(image.pixel(x, y), fill) << x << "," << y;
            else if (image.pixel(x, y) != fill) textSeen = true;
        }
    }
    EXPECT_TRUE(textSeen);
}

} // namespace
} // namespace drmq::test
