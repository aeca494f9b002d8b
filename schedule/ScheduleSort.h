// The texts of the schedule grid's cells and the ordering of its rows by a
// column (the sort selectors rb1..rb8). Pure functions, any thread.
#pragma once

#include "schedule/ScheduleEvaluation.h"

#include <QCollator>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace drmq {

constexpr int kGridColumns = 10;
// Column of the hidden row mark ("onair", "next" or empty).
constexpr int kMarkColumn = 8;
// The lists that name the entry ("drmrx HFCC EiBi"), right of the hidden mark.
constexpr int kSourcesColumn = 9;

// Cell text of a listed row as bytes: 0 Programme, 1 start "-" stop, 2 kHz,
// 3 kW, 4 Target, 5 Site, 6 Country, 7 Language, 8 mark, 9 sources.
std::string GridCellBytes(const ScheduleEntry &entry, TRowMark mark, int column);
// The same decoded for display.
QString GridCellText(const ScheduleEntry &entry, TRowMark mark, int column);
// Whether the cell's bytes are exactly these, without building the text.
bool GridCellEquals(const ScheduleEntry &entry, TRowMark mark, int column, std::string_view bytes);

// The text a row sorts by: the key (the cell of the column; a kHz key of 3 or
// 4 characters padded with "00" or "0"), "@", then the nine cells of
// columns 0-8 each followed by CR LF.
QString SortText(const ScheduleEntry &entry, TRowMark mark, int column);

// The grid column a sort selector orders by; -1 for rb2 (file order).
int SortColumnOfSelector(int selector);

// Orders the rows ascending by their sort texts with the collator's
// (case-insensitive) comparison.
void SortGrid(std::vector<TScheduleRow> &rows, const ScheduleTable &table, int column, QCollator collator);

} // namespace drmq
