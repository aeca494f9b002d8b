#include "schedule/ScheduleSort.h"

#include "core/Cp1252.h"
#include "schedule/ScheduleSource.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace drmq {

namespace {
// Hands the pieces of one cell's text to sink, in order, while the sink
// returns true; returns false when the sink asked to stop.
template <class Sink>
bool ForEachCellPiece(const ScheduleEntry &e, TRowMark mark, int column, Sink &&sink) {
    switch (column) {
    case 0: return sink(e.Programme.View());
    case 1: return sink(e.StartTime.View()) && sink(std::string_view("-")) && sink(e.StopTime.View());
    case 2: return sink(e.FrequencyKHz.View());
    case 3: return sink(e.PowerKW.View());
    case 4: return sink(e.Target.View());
    case 5: return sink(e.Site.View());
    case 6: return sink(e.Country.View());
    case 7: return sink(e.Language.View());
    case kMarkColumn: return sink(RowMarkText(mark));
    case kSourcesColumn: {
        const std::string sources = SourcesCellText(e.Sources);
        return sink(std::string_view(sources));
    }
    default: return true;
    }
}

template <class Sink>
void ForEachSortPiece(const ScheduleEntry &e, TRowMark mark, int column, Sink &&sink) {
    if (column == 2) {
        // Zero-padded so that frequencies of up to five digits sort numerically.
        const size_t length = e.FrequencyKHz.View().size();
        if (length == 3 && !sink(std::string_view("00"))) return;
        if (length == 4 && !sink(std::string_view("0"))) return;
    }
    if (!ForEachCellPiece(e, mark, column, sink) || !sink(std::string_view("@"))) return;
    for (int c = 0; c <= kMarkColumn; ++c)
        if (!ForEachCellPiece(e, mark, c, sink) || !sink(std::string_view("\r\n"))) return;
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
constexpr size_t kLongestSortText = 2 + 20 + 1 + (20 + 9 + 5 + 5 + 20 + 20 + 20 + 15 + 5) + 2 * (kMarkColumn + 1);
// Leading bytes of each sort text that are compared as three numbers.
constexpr size_t kHeadBytes = 24;

// Writes the first limit bytes (fewer when it is shorter) of a row's sort
// text as byte ranks; returns the number written.
size_t FoldedSortText(const ScheduleEntry &entry, TRowMark mark, int column, char *out, size_t limit) {
    char *const begin = out;
    ForEachSortPiece(entry, mark, column, [&, end = out + limit](std::string_view piece) {
        const size_t n = std::min(piece.size(), static_cast<size_t>(end - out));
        std::memcpy(out, piece.data(), n);
        out += n;
        return out != end;
    });
    const auto &ranks = FoldedRanks();
    for (char *p = begin, *const last = out; p != last; ++p) *p = static_cast<char>(ranks[static_cast<unsigned char>(*p)]);
    return static_cast<size_t>(out - begin);
}

// The C locale compares case-folded code units: sort texts made of byte
// ranks and compared as bytes (memcmp) give that order at a fraction of the
// cost. The leading bytes, packed into numbers, order most rows; only rows
// that share them get their whole texts built and compared.
void SortByFoldedBytes(std::vector<TScheduleRow> &rows, const ScheduleTable &table, int column) {
    struct TItem {
        std::array<std::uint64_t, kHeadBytes / 8> Head;
        std::uint32_t Row;
    };
    auto entryOf = [&](std::uint32_t r) -> const ScheduleEntry & {
        return table.Entries[static_cast<size_t>(rows[r].Entry)];
    };
    std::vector<TItem> items(rows.size());
    for (std::uint32_t r = 0; r < rows.size(); ++r) {
        char head[kHeadBytes] = {};
        FoldedSortText(entryOf(r), rows[r].Mark, column, head, kHeadBytes);
        TItem &item = items[r];
        for (size_t w = 0; w < item.Head.size(); ++w) {
            item.Head[w] = 0;
            for (size_t i = 0; i < 8; ++i) item.Head[w] = item.Head[w] << 8 | static_cast<unsigned char>(head[w * 8 + i]);
        }
        item.Row = r;
    }
    // Zero-filled heads keep a shorter text before its longer continuations;
    // equal heads are settled below by the whole texts.
    std::sort(items.begin(), items.end(), [](const TItem &a, const TItem &b) {
        for (size_t w = 0; w < a.Head.size(); ++w)
            if (a.Head[w] != b.Head[w]) return a.Head[w] < b.Head[w];
        return a.Row < b.Row;
    });

    std::string arena;
    std::vector<std::pair<std::string_view, std::uint32_t>> run;
    for (size_t first = 0; first < items.size();) {
        size_t last = first + 1;
        while (last < items.size() && items[last].Head == items[first].Head) ++last;
        if (last - first > 1) {
            arena.resize((last - first) * kLongestSortText);
            run.clear();
            for (size_t i = first; i < last; ++i) {
                char *out = arena.data() + (i - first) * kLongestSortText;
                const std::uint32_t r = items[i].Row;
                run.emplace_back(std::string_view(out, FoldedSortText(entryOf(r), rows[r].Mark, column, out,
                                                                      kLongestSortText)),
                                 r);
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
    ForEachCellPiece(entry, mark, column, [&](std::string_view piece) {
        text.append(piece);
        return true;
    });
    return text;
}

QString GridCellText(const ScheduleEntry &entry, TRowMark mark, int column) {
    return FromCp1252(GridCellBytes(entry, mark, column));
}

bool GridCellEquals(const ScheduleEntry &entry, TRowMark mark, int column, std::string_view bytes) {
    bool equal = true;
    ForEachCellPiece(entry, mark, column, [&](std::string_view piece) {
        equal = bytes.substr(0, piece.size()) == piece;
        bytes.remove_prefix(std::min(piece.size(), bytes.size()));
        return equal;
    });
    return equal && bytes.empty();
}

QString SortText(const ScheduleEntry &entry, TRowMark mark, int column) {
    std::string bytes;
    ForEachSortPiece(entry, mark, column, [&](std::string_view piece) {
        bytes.append(piece);
        return true;
    });
    return FromCp1252(bytes);
}

int SortColumnOfSelector(int selector) {
    return selector == 1 ? -1 : selector;
}

void SortGrid(std::vector<TScheduleRow> &rows, const ScheduleTable &table, int column, QCollator collator) {
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    if (collator.locale().language() == QLocale::C) SortByFoldedBytes(rows, table, column);
    else SortByCollator(rows, table, column, collator);
}

} // namespace drmq
