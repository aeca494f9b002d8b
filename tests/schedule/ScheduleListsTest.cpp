// The schedule lists' rules where a slip would mislead a listener: season
// boundaries, EiBi's day words, a zip bomb, the merge's fill-in, and failed
// downloads keeping the last good copy.
#include "core/UtcClock.h"
#include "schedule/DownloadText.h"
#include "schedule/EibiList.h"
#include "schedule/HfccList.h"
#include "schedule/KiwiList.h"
#include "schedule/ScheduleMerge.h"
#include "schedule/ScheduleSeason.h"
#include "schedule/SourcesUpdate.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <zip.h>

#include <map>

namespace drmq {
namespace {

double At(int year, int month, int day, int hour, int minute = 0) {
    return EncodeDateTime(DateTimeParts{year, month, day, hour, minute, 0, 0});
}

std::string DaysOf(const std::vector<ScheduleEntry> &entries, std::string_view khz) {
    std::string days;
    for (const ScheduleEntry &e : entries)
        if (e.FrequencyKHz == khz) days += std::string(e.Days.View()) + " ";
    return days;
}

TEST(ScheduleSeason, ChangesAtOneUtcOnTheLastSundays) {
    // 2026: 29 March and 25 October.
    EXPECT_EQ(SeasonName(At(2026, 3, 29, 0, 59)), "b25");
    EXPECT_EQ(SeasonName(At(2026, 3, 29, 1)), "a26");
    EXPECT_EQ(SeasonName(At(2026, 10, 25, 0, 59)), "a26");
    EXPECT_EQ(SeasonName(At(2026, 10, 25, 1)), "b26");
    EXPECT_EQ(SeasonName(At(2027, 2, 1, 12)), "b26");
}

TEST(EibiList, DayWordsRangesAndDatesAsAListenerReadsThem) {
    const std::string csv =
        "kHz:75;Time(UTC):93;Days:59;ITU:49;Station:201;Lng:49;Target:62;Remarks:135;P:35;Start:60;Stop:60;\r\n"
        "6030;0600-0900;We-Mo;CHN;CNR1 DIGITAL;M;CHN;b;1;;\r\n"
        "9975;1445-1500;Su;USA;Trans World R. DIGITAL;E;SAs;/UZB;1;;\r\n"
        "11615;2000-2100;Tu,Th;D;Music 4 Joy DIGITAL;;WAf;n;0;;\r\n"
        "7000;0000-0100;1245;F;Digits DIGITAL;F;Eu;;;;\r\n"
        "6120;0530-0630;irr;F;TDF DIGITAL;F;Af;i;0;;\r\n"
        "6195;0900-1000;7Apr;D;Radio SE-TA2 DIGITAL;D;Eu;wh;6;;\r\n"
        "6195;0900-1500;;D;Radio SE-TA2 DIGITAL;D;Eu;wh;6;0505;0606\r\n"
        "6000;0000-2400;;D;Analogue Radio;D;Eu;;;;\r\n";
    // Tuesday 7 April 2026.
    const std::vector<ScheduleEntry> april = ParseEibiList(csv, At(2026, 4, 7, 12));
    EXPECT_EQ(DaysOf(april, "6030"), "1101111 ");
    EXPECT_EQ(DaysOf(april, "9975"), "1000000 ");
    EXPECT_EQ(DaysOf(april, "11615"), "0010100 ");
    EXPECT_EQ(DaysOf(april, "7000"), "0110110 ");
    // Irregular: never "every day", and marked so.
    EXPECT_EQ(DaysOf(april, "6120"), "irr ");
    // The dated row on its day only; the May-to-June row not in April.
    EXPECT_EQ(DaysOf(april, "6195"), "0010000 ");
    EXPECT_EQ(DaysOf(april, "6000"), "");
    const std::vector<ScheduleEntry> may = ParseEibiList(csv, At(2026, 5, 20, 12));
    EXPECT_EQ(DaysOf(may, "6195"), "1111111 ");
    for (const ScheduleEntry &e : april) {
        if (e.FrequencyKHz == "6120") {
            EXPECT_EQ(SourcesCellText(e.Sources), "EiBi (irregular)");
        }
        if (e.FrequencyKHz == "9975") {
            EXPECT_EQ(e.Country, "Uzbekistan");
        }
    }
}

TEST(KiwiList, SlotListsClockTextsAndVerifiedTimes) {
    const std::string digest = "[\n// comment \"x\": [1,2,3]\n{ \"Asia\": null,\n"
                               "  \"China National_Radio\": [ \"https://example.org\", 6030,[-20.5,24,0,-18], 7360,\"4:15\",10 ]\n}, {} ]";
    const std::vector<ScheduleEntry> entries = ParseKiwiList(digest);
    ASSERT_EQ(entries.size(), 3u);
    std::string listed;
    for (const ScheduleEntry &e : entries)
        listed += std::string(e.FrequencyKHz.View()) + " " + std::string(e.StartTime.View()) + "-" +
                 std::string(e.StopTime.View()) + " " + std::string(e.Programme.View()) + "; ";
    EXPECT_EQ(listed, "6030 2030-2400 China National Radio; 6030 0000-1800 China National Radio; "
                     "7360 0415-1000 China National Radio; ");
}

// A zip whose one member inflates to more than the bound, from a few kB.
std::string ZipBomb() {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(target);
    zip_t *archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    static const std::string zeros(kMaxHfccMemberBytes + 1, '0');
    zip_file_add(archive, "A26all00.TXT", zip_source_buffer(archive, zeros.data(), zeros.size(), 0), 0);
    zip_close(archive);
    zip_source_open(target);
    zip_source_seek(target, 0, SEEK_END);
    const zip_int64_t size = zip_source_tell(target);
    zip_source_seek(target, 0, SEEK_SET);
    std::string bytes(static_cast<size_t>(size), '\0');
    zip_source_read(target, bytes.data(), static_cast<zip_uint64_t>(size));
    zip_source_close(target);
    zip_source_free(target);
    zip_error_fini(&error);
    return bytes;
}

TEST(HfccZip, MemberInflatingPastTheBoundIsRefused) {
    const std::string bomb = ZipBomb();
    ASSERT_LT(bomb.size(), 1024u * 1024u);
    const THfccRead read = ReadHfccZip(bomb, At(2026, 6, 10, 12));
    EXPECT_EQ(read.Failure, "zip member A26all00.TXT unreadable or too large");
    EXPECT_TRUE(read.Entries.empty());
    EXPECT_EQ(ReadHfccZip("PK\x03\x04 cut short", 0).Failure, "not a zip file");
}

ScheduleEntry Entry(TScheduleSource source, std::string_view times, std::string_view days, std::string_view power,
                    std::string_view site) {
    ScheduleEntry e;
    e.StartTime = times.substr(0, 4);
    e.StopTime = times.substr(5, 4);
    e.Days = days;
    e.FrequencyKHz = "7425";
    e.PowerKW = power;
    e.Site = site;
    e.Programme = SourceName(source);
    e.Sources = SourceBit(source);
    return e;
}

TEST(ScheduleMerge, OverlappingEntriesOfOtherListsAreOneFilledFromTheOthers) {
    using S = TScheduleSource;
    const ScheduleTable merged = MergeScheduleLists({
        {Entry(S::Drmrx, "2300-0100", "1111111", "?", "")},
        {Entry(S::Hfcc, "0030-0200", "0111110", "35", "Rangitaiki"), Entry(S::Hfcc, "1200-1300", "0111110", "35", "")},
        // A repeat within one list, and another EiBi row within the slot.
        {Entry(S::Eibi, "2330-0000", "1000000", "?", "Wellington"), Entry(S::Eibi, "2330-0000", "1000000", "?", "Wellington"),
         Entry(S::Eibi, "2345-0000", "1000000", "?", "")},
        // Days that do not meet: its own entry.
        {Entry(S::Kiwisdr, "1200-1300", "0000001", "?", "")},
    });
    ASSERT_EQ(merged.EntryCount(), 3);
    const ScheduleEntry &night = merged.Entries[0];
    EXPECT_EQ(night.Programme, "drmrx");
    EXPECT_EQ(night.PowerKW, "35");
    EXPECT_EQ(night.Site, "Rangitaiki");
    EXPECT_EQ(SourcesCellText(night.Sources), "drmrx HFCC EiBi");
    EXPECT_EQ(SourcesCellText(merged.Entries[1].Sources), "HFCC");
    EXPECT_EQ(SourcesCellText(merged.Entries[2].Sources), "KiwiSDR");
}

TEST(ScheduleMerge, KeepsNoMoreThanTheScheduleHoldsAndEveryOtherEntry) {
    std::vector<ScheduleEntry> many;
    for (int i = 0; i < 20005; ++i) {
        ScheduleEntry e = Entry(TScheduleSource::Eibi, "0000-0100", "1111111", "1", "");
        e.FrequencyKHz = std::to_string(i);
        many.push_back(e);
    }
    EXPECT_EQ(MergeScheduleLists({many}).EntryCount(), 20000);
}

class SourcesUpdateTest : public ::testing::Test {
protected:
    TSourcesResult Update(const std::map<std::string, THttpResult> &replies) {
        TSourcesRequest request;
        request.Enabled = SourceBit(TScheduleSource::Eibi) | SourceBit(TScheduleSource::Drmrx);
        request.Urls = {"drmrx", "hfcc", "eibi", "kiwi"};
        request.Folder = dir.path().toStdString() + "/";
        request.UtcNow = At(2026, 6, 10, 12);
        return UpdateScheduleSources(request, [&](const std::string &url) {
            const auto it = replies.find(url);
            return it == replies.end() ? THttpResult{"", "host not found"} : it->second;
        });
    }
    std::string Read(const std::string &name) {
        std::string bytes;
        TryReadFileBytes(dir.path().toStdString() + "/" + name, bytes);
        return bytes;
    }
    QTemporaryDir dir;
    const std::string eibi = "kHz;Time;Days;ITU;Station\r\n7425;1651-1758;Su-Fr;NZL;RNZ Pacific DIGITAL;E;Oc;r;6;;\r\n";
    const std::string drmrx = "[DRMSchedule]\nStartStopTimeUTC=0600-0700\nDays[SMTWTFS]=1111111\nFrequency=6095\n";
};

TEST_F(SourcesUpdateTest, FailingListsKeepTheirLastCopyAndTheScheduleIsNotRewritten) {
    const TSourcesResult good = Update({{"drmrx", {drmrx, ""}}, {"eibi", {eibi, ""}}});
    ASSERT_EQ(good.Outcome, TUpdateOutcome::Replaced);
    EXPECT_EQ(SourcesPanelText(good), "Update: 2 sources, 2 entries");
    const std::string schedule = Read("DRMSchedule.ini");

    for (const auto &[body, why] : std::vector<std::pair<std::string, std::string>>{
             {"  <html><body>Gone</body></html>", "an HTML page instead of data"},
             {eibi.substr(0, eibi.size() - 5), "truncated"},
             {"garbage\r\n", "not an EiBi list"}}) {
        const TSourcesResult later = Update({{"eibi", {body, ""}}});
        EXPECT_EQ(later.Sources[2].Failure, why);
        EXPECT_TRUE(later.Sources[2].Kept);
        EXPECT_EQ(later.Sources[0].Failure, "host not found");
        EXPECT_EQ(later.Outcome, TUpdateOutcome::Unchanged);
        EXPECT_EQ(SourcesPanelText(later), "Update: 2 sources failed");
        EXPECT_EQ(later.Table.EntryCount(), 2);
    }
    EXPECT_EQ(Read("DRMSchedule-EiBi.csv"), eibi);
    EXPECT_EQ(Read("DRMSchedule.ini"), schedule);
}

TEST_F(SourcesUpdateTest, ClosingDuringTheFetchesWritesNothing) {
    ASSERT_EQ(Update({{"drmrx", {drmrx, ""}}, {"eibi", {eibi, ""}}}).Outcome, TUpdateOutcome::Replaced);
    WriteFileAtomically(dir.path().toStdString() + "/DRMSchedule.ini", "edited by hand\r\n");
    std::atomic<bool> closing{false};
    TSourcesRequest request;
    request.Enabled = SourceBit(TScheduleSource::Eibi) | SourceBit(TScheduleSource::Drmrx);
    request.Folder = dir.path().toStdString() + "/";
    request.Cancel = &closing;
    const TSourcesResult result = UpdateScheduleSources(request, [&](const std::string &) {
        closing = true;
        return THttpResult{"", "cancelled"};
    });
    EXPECT_EQ(result.Outcome, TUpdateOutcome::Failed);
    EXPECT_EQ(Read("DRMSchedule.ini"), "edited by hand\r\n");
}

} // namespace
} // namespace drmq
