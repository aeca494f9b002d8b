// The schedule update step with the drmrx feed alone: line-break
// normalisation, the line comparison, which files are written, and write
// failures that leave the schedule whole.
#include "schedule/ScheduleUpdate.h"
#include "schedule/SourcesUpdate.h"

#include "core/RunErrors.h"
#include "schedule/DownloadText.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

namespace drmq {
namespace {

struct TTextCase {
    std::string in;
    std::string out;
};

TEST(ScheduleUpdateText, LineBreaksBecomeCrLfAndNulEndsTheText) {
    const TTextCase cases[] = {
        {"", ""},
        {"a\r\nb", "a\r\nb"},
        {"a\nb\n", "a\r\nb\r\n"},
        {"a\rb\r", "a\r\nb\r\n"},
        {"a\n\rb", "a\r\n\r\nb"},
        {"a\r\r\nb", "a\r\n\r\nb"},
        {"a\r\n\nb", "a\r\n\r\nb"},
        {std::string("ab\0c\nd", 6), "ab"},
        {std::string("\0abc", 4), ""},
        {"\xE4\xF6\xFC\n", "\xE4\xF6\xFC\r\n"},
    };
    for (const auto &c : cases) EXPECT_EQ(NormaliseLineBreaks(c.in), c.out) << c.in;
}

TEST(ScheduleUpdateText, SplitsLinesLikeTheFileReader) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(SplitLines(""), Lines{});
    EXPECT_EQ(SplitLines("a"), Lines{"a"});
    EXPECT_EQ(SplitLines("a\r\n"), Lines{"a"});
    EXPECT_EQ(SplitLines("\r\n"), Lines{""});
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\n\nb"), (Lines{"a", "", "b"}));
}

TEST(ScheduleUpdateText, PanelTexts) {
    EXPECT_STREQ(UpdatePanelText(TUpdateOutcome::Failed), "Update: failed");
    EXPECT_STREQ(UpdatePanelText(TUpdateOutcome::Unchanged), "Update: OK");
    EXPECT_STREQ(UpdatePanelText(TUpdateOutcome::Replaced), "Update: done");
}

class ScheduleUpdate : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    std::string Path(const char *name) const { return dir.path().toStdString() + "/" + name; }
    std::string Read(const char *name) const {
        std::string bytes;
        return TryReadFileBytes(Path(name), bytes) ? bytes : "<missing>";
    }
    // The update with the feed's reply; a write failure raises its error.
    TUpdateOutcome Apply(std::string_view download) {
        TSourcesRequest request;
        request.Enabled = SourceBit(TScheduleSource::Drmrx);
        request.Folder = dir.path().toStdString() + "/";
        const TSourcesResult result =
            UpdateScheduleSources(request, [&](const std::string &) { return THttpResult{std::string(download), ""}; });
        if (result.WriteError) std::rethrow_exception(result.WriteError);
        return result.Outcome;
    }
    // Gives the schedule an old modification time, to see whether it is rewritten.
    void AgeSchedule() const {
        utimbuf old{946684800, 946684800};
        ASSERT_EQ(utime(Path("DRMSchedule.ini").c_str(), &old), 0);
    }
    time_t ScheduleTime() const {
        struct stat s {};
        stat(Path("DRMSchedule.ini").c_str(), &s);
        return s.st_mtime;
    }
    // Files other than the two the step may write (a left-over temporary file).
    QStringList Strays() const {
        QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        names.removeAll("DRMSchedule.ini");
        names.removeAll("DRMSchedule.new");
        names.removeAll("DRMSchedule.src");
        return names;
    }
    QTemporaryDir dir;
    const std::string schedule = "[DRM]\r\nStartStopTimeUTC=0000-2400\r\nDays=0000000\r\n";
};

TEST_F(ScheduleUpdate, EmptyDownloadFailsAndTouchesNothing) {
    WriteFileAtomically(Path("DRMSchedule.ini"), schedule);
    EXPECT_EQ(Apply(""), TUpdateOutcome::Failed);
    EXPECT_EQ(Apply(std::string("\0[DRM]\r\n", 8)), TUpdateOutcome::Failed);
    EXPECT_EQ(Read("DRMSchedule.new"), "<missing>");
    EXPECT_EQ(Read("DRMSchedule.ini"), schedule);
}

TEST_F(ScheduleUpdate, NoScheduleYetTakesTheDownload) {
    EXPECT_EQ(Apply("[DRM]\nStartStopTimeUTC=0000-2400\n"), TUpdateOutcome::Replaced);
    EXPECT_EQ(Read("DRMSchedule.ini"), "[DRM]\r\nStartStopTimeUTC=0000-2400\r\n");
    EXPECT_EQ(Read("DRMSchedule.new"), "[DRM]\r\nStartStopTimeUTC=0000-2400\r\n");
    EXPECT_TRUE(Strays().isEmpty()) << Strays().join(",").toStdString();
}

TEST_F(ScheduleUpdate, SameLinesLeaveTheScheduleAlone) {
    const std::string sameLines[] = {
        schedule,
        "[DRM]\nStartStopTimeUTC=0000-2400\nDays=0000000\n",
        "[DRM]\rStartStopTimeUTC=0000-2400\r\nDays=0000000",
        "[DRM]\r\nStartStopTimeUTC=0000-2400\r\nDays=0000000\r\n" + std::string("\0garbage", 8),
    };
    for (const auto &download : sameLines) {
        WriteFileAtomically(Path("DRMSchedule.ini"), schedule);
        AgeSchedule();
        EXPECT_EQ(Apply(download), TUpdateOutcome::Unchanged);
        EXPECT_EQ(ScheduleTime(), 946684800);
        EXPECT_EQ(Read("DRMSchedule.ini"), schedule);
        EXPECT_EQ(Read("DRMSchedule.new"), NormaliseLineBreaks(download));
    }
}

TEST_F(ScheduleUpdate, AnyDifferentLineReplacesTheSchedule) {
    const std::string different[] = {
        "[DRM]\r\nStartStopTimeUTC=0000-2400\r\nDays=0000001\r\n",          // one line changed
        "[DRM]\r\nStartStopTimeUTC=0000-2400\r\nDays=0000000\r\nExtra\r\n", // one line more
        "[DRM]\r\nStartStopTimeUTC=0000-2400\r\n",                          // one line less
        "[drm]\r\nStartStopTimeUTC=0000-2400\r\nDays=0000000\r\n",          // case matters
    };
    for (const auto &download : different) {
        WriteFileAtomically(Path("DRMSchedule.ini"), schedule);
        AgeSchedule();
        EXPECT_EQ(Apply(download), TUpdateOutcome::Replaced) << download;
        EXPECT_NE(ScheduleTime(), 946684800);
        EXPECT_EQ(Read("DRMSchedule.ini"), download);
        EXPECT_EQ(Read("DRMSchedule.new"), download);
    }
}

TEST_F(ScheduleUpdate, WebPageOrTextWithoutBlocksIsNoSchedule) {
    WriteFileAtomically(Path("DRMSchedule.ini"), schedule);
    EXPECT_EQ(Apply("<html><body>Service moved</body></html>"), TUpdateOutcome::Failed);
    EXPECT_EQ(Apply("new schedule\r\n"), TUpdateOutcome::Failed);
    EXPECT_EQ(Read("DRMSchedule.new"), "<missing>");
    EXPECT_EQ(Read("DRMSchedule.ini"), schedule);
}

TEST_F(ScheduleUpdate, FailedWriteOfTheDownloadRaisesAndKeepsTheSchedule) {
    WriteFileAtomically(Path("DRMSchedule.ini"), schedule);
    ASSERT_TRUE(QDir(dir.path()).mkdir("DRMSchedule.new"));
    try {
        Apply("new\r\nStartStopTimeUTC=0000-2400\r\n");
        FAIL() << "no error raised";
    } catch (const EInOutError &e) {
        EXPECT_STREQ(e.what(), "Dateizugriff verweigert");
    }
    EXPECT_EQ(Read("DRMSchedule.ini"), schedule);
    QStringList strays = Strays();
    EXPECT_TRUE(strays.isEmpty()) << strays.join(",").toStdString();
}

TEST_F(ScheduleUpdate, FailedReplaceRaisesAndLeavesNoPartialFile) {
    // The schedule's name is taken by a folder, so the rename cannot happen.
    ASSERT_TRUE(QDir(dir.path()).mkdir("DRMSchedule.ini"));
    EXPECT_THROW(Apply("new\r\nStartStopTimeUTC=0000-2400\r\n"), EInOutError);
    EXPECT_TRUE(QFileInfo(dir.path() + "/DRMSchedule.ini").isDir());
    EXPECT_EQ(Read("DRMSchedule.new"), "new\r\nStartStopTimeUTC=0000-2400\r\n");
    EXPECT_TRUE(Strays().isEmpty()) << Strays().join(",").toStdString();
}

} // namespace
} // namespace drmq
