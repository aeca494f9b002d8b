#include "schedule/ScheduleSort.h"

#include "app/core/Cp1252.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace drmq {

namespace {
// Hands the pieces of one cell's text to sink, in order.
template <class Sink>
void ForEachCellPiece(const ScheduleEntry &e, TRowMark mark, int column, Sink &&sink) {
    switch (column) {
    case 0: sink(e.Programme.View()); break;
    case 1:
        sink(e.StartTime.View());
        sink(std::string_view("-"));
        sink(e.StopTime.View());
        break;
    case 2: sink(e.FrequencyKHz.View()); break;
    case 3: sink(e.PowerKW.View()); break;
    case 4: sink(e.Target.View()); break;
    case 5: sink(e.Site.View()); break;
    case 6: sink(e.Country.View()); break;
    case 7: sink(e.Language.View()); break;
    case kMarkColumn: sink(RowMarkText(mark)); break;
    default: break;
    }
}

template <class Sink>
void ForEachSortPiece(const ScheduleEntry &e, TRowMark mark, int column, Sink &&sink) {
    if (column == 2) {
        // Zero-padded so that frequencies of up to five digits sort numerically.
        const size_t length = e.FrequencyKHz.View().size();
        if (length == 3) sink(std::string_view("00"));
        else if (length == 4) sink(std::string_view("0"));
    }
    ForEachCellPiece(e, mark, column, sink);
    sink(std::string_view("@"));
    for (int c = 0; c < kGridColumns; ++c) {
        ForEachCellPiece(e, mark, c, sink);
        sink(std::string_view("\r\n"));
    }
}

// Byte ranks that order like the case-folded Windows-1252 characters, so a
// plain byte comparison gives the C locale's case-insensitive order.
const std::array<unsigned char, 256> &FoldedRanks() {
    static const std::array<unsigned char, 256> ranks = [] {
        std::array<char16_t, 256> folded{};
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            folded[static_cast<size_t>(b)] = FromCp1252(std::string_view(&byte, 1)).at(0).toCaseFolded().unicode();
        }
        std::array<char16_t, 256> distinct = folded;
        std::sort(distinct.begin(), distinct.end());
        const auto end = std::unique(distinct.begin(), distinct.end());
        std::array<unsigned char, 256> r{};
        for (size_t b = 0; b < 256; ++b)
            r[b] = static_cast<unsigned char>(std::lower_bound(distinct.begin(), end, folded[b]) - distinct.begin());
        return r;
    }();
    return ranks;
}

// Room for the longest sort text: padding, key, "@", nine cells, CR LFs.
constexpr size_t kLongestSortText = 2 + 20 + 1 + (20 + 9 + 5 + 5 + 20 + 20 + 20 + 15 + 5) + 2 * kGridColumns;

// Writes up to limit bytes of the row's sort text as byte ranks; returns
// the number written.
size_t FoldedSortText(const ScheduleEntry &entry, TRowMark mark, int column, unsigned char *out, size_t limit) {
    const auto &ranks = FoldedRanks();
    size_t length = 0;
    ForEachSortPiece(entry, mark, column, [&](std::string_view piece) {
        for (size_t i = 0; i < piece.size() && length < limit; ++i)
            out[length++] = ranks[static_cast<unsigned char>(piece[i])];
    });
    return length;
}

// The C locale compares case-folded code units: sort texts made of byte
// ranks and compared as bytes give that order at a fraction of the cost.
// The first eight ranks, packed into one number, order most rows; only rows
// that share them get their whole texts built and compared.
void SortByFoldedBytes(std::vector<TScheduleRow> &rows, const ScheduleTable &table, int column) {
    struct TItem {
        std::uint64_t Prefix;
        std::uint32_t Row;
    };
    auto entryOf = [&](std::uint32_t r) -> const ScheduleEntry & {
        return table.Entries[static_cast<size_t>(rows[r].Entry)];
    };
    std::vector<TItem> items;
    items.reserve(rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        unsigned char head[8] = {};
        FoldedSortText(entryOf(static_cast<std::uint32_t>(r)), rows[r].Mark, column, head, sizeof head);
        std::uint64_t prefix = 0;
        for (unsigned char c : head) prefix = prefix << 8 | c;
        items.push_back({prefix, static_cast<std::uint32_t>(r)});
    }
    std::sort(items.begin(), items.end(),
              [](const TItem &a, const TItem &b) { return a.Prefix != b.Prefix ? a.Prefix < b.Prefix : a.Row < b.Row; });

    std::basic_string<unsigned char> arena;
    std::vector<std::pair<std::basic_string_view<unsigned char>, std::uint32_t>> run;
    for (size_t first = 0; first < items.size();) {
        size_t last = first + 1;
        while (last < items.size() && items[last].Prefix == items[first].Prefix) ++last;
        if (last - first > 1) {
            arena.resize((last - first) * kLongestSortText);
            run.clear();
            for (size_t i = first; i < last; ++i) {
                unsigned char *out = arena.data() + (i - first) * kLongestSortText;
                const std::uint32_t r = items[i].Row;
                const size_t length = FoldedSortText(entryOf(r), rows[r].Mark, column, out, kLongestSortText);
                run.emplace_back(std::basic_string_view<unsigned char>(out, length), r);
            }
            std::sort(run.begin(), run.end());
            for (size_t i = first; i < last; ++i) items[i].Row = run[i - first].second;
        }
        first = last;
    }
    std::vector<TScheduleRow> sorted;
    sorted.reserve(rows.size());
    for (const TItem &item : items) sorted.push_back(rows[item.Row]);
    rows = std::move(sorted);
}

void SortByCollator(std::vector<TScheduleRow> &rows, const ScheduleTable &table, int column, const QCollator &collator) {
    std::vector<std::pair<QString, TScheduleRow>> texts;
    texts.reserve(rows.size());
    for (const TScheduleRow &row : rows)
        texts.emplace_back(SortText(table.Entries[static_cast<size_t>(row.Entry)], row.Mark, column), row);
    std::stable_sort(texts.begin(), texts.end(),
                     [&](const auto &a, const auto &b) { return collator.compare(a.first, b.first) < 0; });
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = texts[i].second;
}
} // namespace

std::string GridCellBytes(const ScheduleEntry &entry, TRowMark mark, int column) {
    std::string text;
    ForEachCellPiece(entry, mark, column, [&](std::string_view piece) { text.append(piece); });
    return text;
}

QString GridCellText(const ScheduleEntry &entry, TRowMark mark, int column) {
    return FromCp1252(GridCellBytes(entry, mark, column));
}

QString SortText(const ScheduleEntry &entry, TRowMark mark, int column) {
    std::string bytes;
    ForEachSortPiece(entry, mark, column, [&](std::string_view piece) { bytes.append(piece); });
    return FromCp1252(bytes);
}

int SortColumnOfSelector(int selector) {
    return selector == 1 ? -1 : selector;
}

void SortRows(std::vector<TScheduleRow> &rows, const ScheduleTable &table, int column, QCollator collator) {
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    if (collator.locale().language() == QLocale::C) SortByFoldedBytes(rows, table, column);
    else SortByCollator(rows, table, column, collator);
}

} // namespace drmq
