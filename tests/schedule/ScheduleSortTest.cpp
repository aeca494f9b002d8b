// Grid cell texts and the ordering of rows by a column.
#include "schedule/ScheduleSource.h"
#include "core/Cp1252.h"
#include "schedule/ScheduleSort.h"

#include <QCollator>
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace drmq {
namespace {

class ScheduleSortTest : public ::testing::Test {
protected:
    ScheduleTable table;
    std::vector<TScheduleRow> rows;

    ScheduleEntry &Add(TRowMark mark = TRowMark::None) {
        ScheduleEntry &e = table.Entries.emplace_back();
        e.StartTime = "0600";
        e.StopTime = "0700";
        e.FrequencyKHz = "6095";
        e.PowerKW = "100";
        rows.push_back({table.EntryCount() - 1, mark});
        return e;
    }
    std::vector<std::string> Column(int column) const {
        std::vector<std::string> texts;
        for (const auto &r : rows) texts.push_back(GridCellBytes(table.Entries[static_cast<size_t>(r.Entry)], r.Mark, column));
        return texts;
    }
    void Sort(int column, const QLocale &locale = QLocale::c()) { SortGrid(rows, table, column, QCollator(locale)); }
};

TEST_F(ScheduleSortTest, CellTextsFollowTheColumnTable) {
    ScheduleEntry &e = Add(TRowMark::Next);
    e.Programme = "Radio Alpina";
    e.Target = "Europe";
    e.Site = "Sender";
    e.Country = "Austria";
    e.Language = "Deutsch";
    e.Sources = SourceBit(TScheduleSource::Drmrx) | SourceBit(TScheduleSource::Eibi) | kIrregularBit;
    const std::vector<std::string> expected = {"Radio Alpina", "0600-0700", "6095",    "100",  "Europe",
                                               "Sender",       "Austria",   "Deutsch", "next", "drmrx EiBi (irregular)"};
    for (int c = 0; c < kGridColumns; ++c) EXPECT_EQ(GridCellBytes(e, TRowMark::Next, c), expected[static_cast<size_t>(c)]);
    EXPECT_EQ(GridCellBytes(e, TRowMark::OnAir, kMarkColumn), "onair");
    EXPECT_EQ(GridCellBytes(e, TRowMark::None, kMarkColumn), "");
}

TEST_F(ScheduleSortTest, SortTextIsKeyAtAndTheNineCells) {
    ScheduleEntry &e = Add(TRowMark::OnAir);
    e.FrequencyKHz = "531";
    e.Programme = "P";
    EXPECT_EQ(SortText(e, TRowMark::OnAir, 2),
              QString("00531@P\r\n0600-0700\r\n531\r\n100\r\n\r\n\r\n\r\n\r\nonair\r\n"));
    e.FrequencyKHz = "1440";
    EXPECT_TRUE(SortText(e, TRowMark::OnAir, 2).startsWith("01440@"));
    e.FrequencyKHz = "99";
    EXPECT_TRUE(SortText(e, TRowMark::OnAir, 2).startsWith("99@"));
    // Only the kHz column is padded.
    e.PowerKW = "5";
    EXPECT_TRUE(SortText(e, TRowMark::OnAir, 3).startsWith("5@"));
}

TEST_F(ScheduleSortTest, KilohertzSortNumericallyUpToFiveDigits) {
    Add().FrequencyKHz = "15440";
    Add().FrequencyKHz = "531";
    Add().FrequencyKHz = "1440";
    Sort(2);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"531", "1440", "15440"}));
}

TEST_F(ScheduleSortTest, PowerSortsAsText) {
    Add().PowerKW = "5";
    Add().PowerKW = "100";
    Add().PowerKW = "20";
    Sort(3);
    EXPECT_EQ(Column(3), (std::vector<std::string>{"100", "20", "5"}));
}

TEST_F(ScheduleSortTest, TextColumnsIgnoreLetterCase) {
    // Plain character codes would put "Gamma" before "beta".
    Add().Programme = "Gamma";
    Add().Programme = "beta";
    Add().Programme = "ALPHA";
    Sort(0);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"ALPHA", "beta", "Gamma"}));
}

TEST_F(ScheduleSortTest, EqualKeysAreOrderedByTheWholeRow) {
    ScheduleEntry &late = Add();
    late.Country = "Norway";
    late.StartTime = "1200";
    late.StopTime = "1300";
    ScheduleEntry &early = Add();
    early.Country = "Norway";
    Sort(6);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"0600-0700", "1200-1300"}));
}

TEST_F(ScheduleSortTest, TheSeparatorTakesPartInTheComparison) {
    // "Radio France@" against "Radio@": the blank sorts before "@".
    Add().Programme = "Radio";
    Add().Programme = "Radio France";
    Sort(0);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"Radio France", "Radio"}));
}

TEST_F(ScheduleSortTest, FileOrderSelectorDoesNotSort) {
    const std::pair<int, int> selectors[] = {{0, 0}, {1, -1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}};
    for (const auto &[selector, column] : selectors) EXPECT_EQ(SortColumnOfSelector(selector), column) << selector;
}

TEST_F(ScheduleSortTest, CLocaleOrderEqualsTheCollatorsOrder) {
    // Mixed case, accented and Windows-1252-only letters, digits and marks.
    const std::string alphabet = "aAbBzZ09 -@.\xE9\xC9\x8A\x9A\xDF\xFC\xDC\x80~_";
    std::mt19937 random(7);
    for (int i = 0; i < 400; ++i) {
        ScheduleEntry &e = Add(static_cast<TRowMark>(random() % 3));
        std::string name;
        for (int k = 0, n = 1 + static_cast<int>(random() % 6); k < n; ++k) name += alphabet[random() % alphabet.size()];
        e.Programme = name;
        e.Site = name.substr(0, 2);
    }
    std::vector<TScheduleRow> expected = rows;
    QCollator reference{QLocale::c()};
    reference.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(expected.begin(), expected.end(), [&](const TScheduleRow &a, const TScheduleRow &b) {
        return reference.compare(SortText(table.Entries[static_cast<size_t>(a.Entry)], a.Mark, 0),
                                 SortText(table.Entries[static_cast<size_t>(b.Entry)], b.Mark, 0)) < 0;
    });
    Sort(0);
    EXPECT_EQ(rows, expected);
}

TEST_F(ScheduleSortTest, LanguageAwareOrderInAGermanLocale) {
    Add().Programme = "Zeta";
    Add().Programme = "\xC4pfel"; // Äpfel
    Add().Programme = "Bravo";
    Sort(0, QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"\xC4pfel", "Bravo", "Zeta"}));
    // The plain C locale puts the umlaut after the last ASCII letter.
    Sort(0);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"Bravo", "Zeta", "\xC4pfel"}));
}

} // namespace
} // namespace drmq
