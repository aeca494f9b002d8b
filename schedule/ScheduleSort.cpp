#include "schedule/ScheduleSort.h"

#include "app/core/Cp1252.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
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

// The C locale compares case-folded code units: sort texts made of byte
// ranks and compared as bytes (memcmp) give that order at a fraction of the
// cost. The first eight ranks, packed into one number, settle most
// comparisons without touching the texts.
void SortByFoldedBytes(std::vector<TScheduleRow> &rows, const ScheduleTable &table, int column) {
    struct TItem {
        std::uint64_t Prefix;
        std::uint32_t Offset;
        std::uint32_t Length;
        std::uint32_t Row;
    };
    std::string arena(rows.size() * kLongestSortText, '\0');
    std::vector<TItem> items;
    items.reserve(rows.size());
    char *out = arena.data();
    for (size_t r = 0; r < rows.size(); ++r) {
        char *const begin = out;
        ForEachSortPiece(table.Entries[static_cast<size_t>(rows[r].Entry)], rows[r].Mark, column,
                         [&](std::string_view piece) {
                             std::memcpy(out, piece.data(), piece.size());
                             out += piece.size();
                         });
        items.push_back({0, static_cast<std::uint32_t>(begin - arena.data()), static_cast<std::uint32_t>(out - begin),
                         static_cast<std::uint32_t>(r)});
    }
    const auto &ranks = FoldedRanks();
    const char *const end = out;
    for (char *p = arena.data(); p != end; ++p) *p = static_cast<char>(ranks[static_cast<unsigned char>(*p)]);
    for (TItem &item : items) {
        for (size_t i = 0; i < 8; ++i)
            item.Prefix = item.Prefix << 8 |
                          (i < item.Length ? static_cast<unsigned char>(arena[item.Offset + i]) : 0u);
    }
    const std::string_view all(arena);
    std::sort(items.begin(), items.end(), [&](const TItem &a, const TItem &b) {
        if (a.Prefix != b.Prefix) return a.Prefix < b.Prefix;
        const int order = all.substr(a.Offset, a.Length).compare(all.substr(b.Offset, b.Length));
        return order != 0 ? order < 0 : a.Row < b.Row;
    });
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

bool GridCellEquals(const ScheduleEntry &entry, TRowMark mark, int column, std::string_view bytes) {
    bool equal = true;
    ForEachCellPiece(entry, mark, column, [&](std::string_view piece) {
        equal = equal && bytes.substr(0, piece.size()) == piece;
        bytes.remove_prefix(std::min(piece.size(), bytes.size()));
    });
    return equal && bytes.empty();
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
