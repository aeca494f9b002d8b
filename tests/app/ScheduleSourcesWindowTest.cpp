// The schedule from the published lists as a listener meets it: the real
// drmrx, EiBi, HFCC and KiwiSDR files served over HTTPS by a local server,
// the window's clock in June 2026, the grid and panel 0 read back, the
// "Schedule sources" window, and starts with sources failing or no network.
#include "schedule/ScheduleGridModel.h"
#include "schedule/ScheduleSort.h"
#include "schedule/ScheduleSourcesDialog.h"
#include "support/HttpTestServer.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QRegularExpression>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace drmq::test {
namespace {

std::string RealFile(const std::string &name) {
    std::ifstream in(std::string(DRMQ_SHARED_DATA "/schedules/") + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

const char *const kNotFound = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n";
// A row as the grid shows it: the eight columns, then "Sources".
using TRow = std::vector<QString>;

class ScheduleSourcesWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        // The program trusts the server's certificate as a system's store would.
        const std::string pem = Folder() + "../trusted-" + std::to_string(server.Port()) + ".pem";
        std::ofstream(pem, std::ios::binary) << identity.CertificatePem;
        setenv("SSL_CERT_FILE", pem.c_str(), 1);
        server.SetReply(kNotFound);
        server.SetReplyFor("/schedules/drmschedules.php", HttpTestServer::OkReply(RealFile("drmrx-format-DRMSchedule.ini")));
        server.SetReplyFor("/dx/sked-a26.csv", HttpTestServer::OkReply(RealFile("sked-a26.csv")));
        server.SetReplyFor("/data/a26/a26allx2.zip", HttpTestServer::OkReply(RealFile("a26allx2.zip")));
        server.SetReplyFor("/drm/drmrx.cjson", HttpTestServer::OkReply(RealFile("kiwisdr-stations.cjson")));
        // Friday 12 June 2026, 17:00:30 UTC, inside season A26.
        clock->Set(DateTimeParts{2026, 6, 12, 17, 0, 30, 0});
    }
    void TearDown() override {
        WindowFixture::TearDown();
        unsetenv("SSL_CERT_FILE");
    }
    // "Update" and "Low Power" ticked (the lists without powers show), the
    // given lists enabled, every URL on the local server.
    void WriteSourceSettings(const std::string &sources, bool update = true) const {
        WriteFile("DRMQuodra.ini", "[Settings]\r\nUpdate=" + std::string(update ? "1" : "0") +
                                       "\r\nLow Power=1\r\nPreview=0\r\nSchedule sources=" + sources +
                                       "\r\nSchedule URL=" + server.Url("/schedules/drmschedules.php") +
                                       "\r\nEiBi URL=" + server.Url("/dx/") + "\r\nHFCC URL=" + server.Url("/data/") +
                                       "\r\nKiwiSDR URL=" + server.Url("/drm/drmrx.cjson") +
                                       "\r\nBulletin URL=" + server.Url("/wwv.txt") + "\r\n");
        if (ReadFile("DRMSchedule.ini").empty()) WriteFile("DRMSchedule.ini", "empty schedule\r\n");
    }
    TForm1 &StartAndUpdate() {
        TForm1 &form = Start();
        EXPECT_TRUE(WaitUntil([&] { return !form.Downloads.Running(); }));
        return form;
    }
    static std::vector<TRow> Rows(TForm1 &form) {
        std::vector<TRow> rows;
        const TScheduleGridModel &grid = *form.ScheduleModel;
        for (int r = 1; r < grid.RowCount(); ++r) {
            TRow row;
            for (int c = 0; c < kGridColumns; ++c)
                if (c != kMarkColumn) row.push_back(grid.CellText(c, r));
            rows.push_back(row);
        }
        return rows;
    }
    static std::vector<TRow> RowsOn(TForm1 &form, const QString &khz) {
        std::vector<TRow> rows;
        for (const TRow &row : Rows(form))
            if (row[2] == khz) rows.push_back(row);
        return rows;
    }
    // The same evaluation a day later, as the minute tick would run it.
    void NextDay(TForm1 &form) {
        clock->AdvanceSeconds(86400);
        form.DRMSchedule();
    }

    TTestCertificate identity = MakeSelfSignedCertificate("127.0.0.1");
    HttpTestServer server{identity};
};

TEST_F(ScheduleSourcesWindow, EibiListShowsItsDrmRowsWithDaysTimesAndNames) {
    WriteSourceSettings("eibi");
    TForm1 &form = StartAndUpdate();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
    EXPECT_TRUE(QRegularExpression("^Update: 1 source, \\d+ entries$").match(form.Panel(0)->text()).hasMatch())
        << form.Panel(0)->text().toStdString();
    // Su-Fr, English; the language codes and areas spelt out, " DIGITAL" gone.
    EXPECT_EQ(RowsOn(form, "7425"), (std::vector<TRow>{{"RNZ Pacific", "1651-1758", "7425", "?", "Oceania", "",
                                                         "New Zealand", "English", "EiBi"}}));
    EXPECT_FALSE(form.StringGrid1->isColumnHidden(kSourcesColumn));
    // Saturday: off.
    NextDay(form);
    EXPECT_TRUE(RowsOn(form, "7425").empty());
}

TEST_F(ScheduleSourcesWindow, HfccZipShowsItsDrmRowsWithPowerSiteAndBroadcaster) {
    WriteSourceSettings("hfcc");
    TForm1 &form = StartAndUpdate();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
    EXPECT_EQ(RowsOn(form, "7425"), (std::vector<TRow>{{"Radio New Zealand", "1645-2000", "7425", "35", "61S,62,63W",
                                                         "Rangitaiki", "New Zealand", "English", "HFCC"}}));
    NextDay(form);
    EXPECT_TRUE(RowsOn(form, "7425").empty());
    // The zip is kept byte for byte for the days without network.
    EXPECT_EQ(ReadFile("DRMSchedule-HFCC.zip"), RealFile("a26allx2.zip"));
}

TEST_F(ScheduleSourcesWindow, DrmrxFeedAloneIsTheScheduleAsSent) {
    WriteSourceSettings("drmrx");
    TForm1 &form = StartAndUpdate();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
    EXPECT_EQ(form.Panel(0)->text(), "Update: done");
    EXPECT_EQ(form.Panel(2)->text(), "All: 144");
    EXPECT_EQ(RowsOn(form, "6170"), (std::vector<TRow>{{"RNZI", "1551-1750", "6170", "25", "Pacific", "Rangitaiki",
                                                         "New Zealand", "English", "drmrx"}}));
    // Every other program reading the file sees the feed's own lines.
    std::string feed = RealFile("drmrx-format-DRMSchedule.ini");
    EXPECT_EQ(ReadFile("DRMSchedule.ini").size(), feed.size() + std::count(feed.begin(), feed.end(), '\n'));
}

TEST_F(ScheduleSourcesWindow, KiwiDigestStandsInWhenTheDrmrxFeedCannotBeHad) {
    WriteSourceSettings("drmrx");
    server.SetReplyFor("/schedules/drmschedules.php", kNotFound);
    TForm1 &form = StartAndUpdate();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
    EXPECT_EQ(form.Panel(0)->text(), "Update: drmrx failed");
    // No days in the digest: every day.
    EXPECT_EQ(RowsOn(form, "9760"), (std::vector<TRow>{{"Radio Romania Intl", "1700-1800", "9760", "?", "Europe", "",
                                                         "", "", "KiwiSDR"}}));
    NextDay(form);
    EXPECT_EQ(RowsOn(form, "9760").size(), 1u);
}

TEST_F(ScheduleSourcesWindow, MergedListsShowEachTransmissionOnceAndKeepItOfflineAndWhenSourcesFail) {
    WriteSourceSettings("drmrx,eibi,hfcc");
    TForm1 &first = StartAndUpdate();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
    EXPECT_TRUE(QRegularExpression("^Update: 3 sources, \\d+ entries$").match(first.Panel(0)->text()).hasMatch())
        << first.Panel(0)->text().toStdString();
    // Listed by HFCC and by EiBi (five rows there): one entry, HFCC's fields.
    EXPECT_EQ(RowsOn(first, "7425"), (std::vector<TRow>{{"Radio New Zealand", "1645-2000", "7425", "35", "61S,62,63W",
                                                          "Rangitaiki", "New Zealand", "English", "HFCC EiBi"}}));
    EXPECT_EQ(RowsOn(first, "6170").back().back(), "drmrx");
    const std::vector<TRow> shown = Rows(first);
    const std::string schedule = ReadFile("DRMSchedule.ini");
    program.reset();

    // EiBi answers with a web page, HFCC with an error: both keep their last copy.
    server.SetReplyFor("/dx/sked-a26.csv", HttpTestServer::OkReply("<!DOCTYPE html><html>Moved</html>"));
    server.SetReplyFor("/data/a26/a26allx2.zip", "HTTP/1.1 500 Oops\r\nContent-Length: 0\r\n\r\n");
    TForm1 &second = StartAndUpdate();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
    EXPECT_EQ(second.Panel(0)->text(), "Update: 2 sources failed");
    EXPECT_EQ(Rows(second), shown);
    EXPECT_EQ(ReadFile("DRMSchedule.ini"), schedule);
    EXPECT_EQ(ReadFile("DRMSchedule-EiBi.csv"), RealFile("sked-a26.csv"));

    // The sources window says which and why; opened from panel 0 by Enter.
    second.show();
    second.activateWindow();
    second.Panel(0)->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return QApplication::focusWidget() == second.Panel(0); }));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(second.Panel(0), &enter);
    ASSERT_TRUE(second.SourcesDialog && second.SourcesDialog->isVisible());
    TScheduleSourcesDialog &dialog = *second.SourcesDialog;
    EXPECT_TRUE(dialog.LastFailure[2]->text().endsWith("UTC: an HTML page instead of data"))
        << dialog.LastFailure[2]->text().toStdString();
    EXPECT_TRUE(dialog.LastFailure[1]->text().endsWith("UTC: HTTP 500")) << dialog.LastFailure[1]->text().toStdString();
    EXPECT_TRUE(dialog.LastFailure[0]->text().isEmpty());
    EXPECT_NE(dialog.LastSuccess[0]->text(), "never");
    EXPECT_EQ(dialog.LastSuccess[3]->text(), "never");
    EXPECT_EQ(dialog.Entries[1]->text().toInt() > 0, true);
    // Switching EiBi off takes effect with "Update now" and is kept.
    dialog.Enabled[2]->click();
    server.SetReplyFor("/data/a26/a26allx2.zip", HttpTestServer::OkReply(RealFile("a26allx2.zip")));
    dialog.UpdateButton->click();
    ASSERT_TRUE(WaitUntil([&] { return !second.Downloads.Running(); }));
    EXPECT_TRUE(QRegularExpression("^Update: 2 sources, \\d+ entries$").match(second.Panel(0)->text()).hasMatch())
        << second.Panel(0)->text().toStdString();
    EXPECT_EQ(RowsOn(second, "7425").front().back(), "HFCC");
    EXPECT_EQ(dialog.Entries[2]->text(), "0");
    const std::vector<TRow> updated = Rows(second);
    second.close();
    std::string settings = ReadFile("DRMQuodra.ini");
    EXPECT_NE(settings.find("Schedule sources=drmrx,hfcc\r\n"), std::string::npos);
    program.reset();

    // Started again without downloads: the same grid, sources named, from the files on disk.
    settings.replace(settings.find("Update=1"), 8, "Update=0");
    WriteFile("DRMQuodra.ini", settings);
    const size_t requests = server.Requests().size();
    TForm1 &offline = Start();
    EXPECT_EQ(offline.Panel(0)->text(), "Update: off");
    EXPECT_EQ(Rows(offline), updated);
    EXPECT_EQ(RowsOn(offline, "7425").front().back(), "HFCC");
    EXPECT_EQ(server.Requests().size(), requests);
}

} // namespace
} // namespace drmq::test
