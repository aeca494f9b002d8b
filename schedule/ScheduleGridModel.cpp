#include "schedule/ScheduleGridModel.h"

#include "core/Cp1252.h"

#include <algorithm>
#include <string>

namespace drmq {

TScheduleGridModel::TScheduleGridModel(QObject *parent) : QAbstractTableModel(parent) {}

void TScheduleGridModel::SetTable(ScheduleTable table) {
    beginResetModel();
    table_ = std::move(table);
    rows_.clear();
    endResetModel();
}

void TScheduleGridModel::SetRows(std::vector<TScheduleRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void TScheduleGridModel::SetHeaderTexts(const QStringList &texts) {
    headerTexts_ = texts;
    emit headerDataChanged(Qt::Horizontal, 0, kGridColumns - 1);
}

QString TScheduleGridModel::CellText(int column, int gridRow) const {
    if (gridRow == 0) return column < headerTexts_.size() ? headerTexts_.at(column) : QString();
    if (gridRow < 0 || gridRow >= RowCount()) return {};
    const TScheduleRow &row = rows_[static_cast<size_t>(gridRow - 1)];
    return GridCellText(table_.Entries[static_cast<size_t>(row.Entry)], row.Mark, column);
}

TRowMark TScheduleGridModel::MarkOf(int gridRow) const {
    if (gridRow < 1 || gridRow >= RowCount()) return TRowMark::None;
    return rows_[static_cast<size_t>(gridRow - 1)].Mark;
}

int TScheduleGridModel::FindRow(const std::vector<int> &columns, const std::vector<QString> &values) const {
    // Cells hold Windows-1252 bytes: compare bytes, and a text that has no
    // such bytes matches no cell.
    std::vector<std::string> wanted;
    for (const QString &value : values) {
        wanted.push_back(ToCp1252(value));
        if (FromCp1252(wanted.back()) != value) return 0;
    }
    const size_t n = std::min(columns.size(), wanted.size());
    for (size_t r = 0; r < rows_.size(); ++r) {
        const ScheduleEntry &entry = table_.Entries[static_cast<size_t>(rows_[r].Entry)];
        bool all = true;
        for (size_t i = 0; i < n && all; ++i) all = GridCellEquals(entry, rows_[r].Mark, columns[i], wanted[i]);
        if (all) return static_cast<int>(r) + 1;
    }
    return 0;
}

int TScheduleGridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TScheduleGridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : kGridColumns;
}

QVariant TScheduleGridModel::data(const QModelIndex &index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return CellText(index.column(), index.row() + 1);
}

QVariant TScheduleGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    return CellText(section, 0);
}

} // namespace drmq
