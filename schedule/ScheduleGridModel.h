// TScheduleGridModel: the schedule grid's table model. It owns the loaded
// ScheduleTable and lists the evaluated rows over it; UI thread.
#pragma once

#include "schedule/ScheduleEvaluation.h"
#include "schedule/ScheduleSort.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <string_view>
#include <vector>

namespace drmq {

// Grid rows count like the window's grid: row 0 is the fixed header row,
// listed row r (1..RowCount-1) is model row r-1.
class TScheduleGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TScheduleGridModel(QObject *parent = nullptr);

    ScheduleTable &Table() { return table_; }
    const ScheduleTable &Table() const { return table_; }
    // Replaces the loaded schedule; the grid then lists nothing.
    void SetTable(ScheduleTable table);
    // Rebuilds the grid from scratch with these rows.
    void SetRows(std::vector<TScheduleRow> rows);
    const std::vector<TScheduleRow> &Rows() const { return rows_; }
    void SetHeaderTexts(const QStringList &texts);

    // The header plus the listed rows.
    int RowCount() const { return static_cast<int>(rows_.size()) + 1; }
    // Text of a cell by grid row; row 0 gives the header text.
    QString CellText(int column, int gridRow) const;
    TRowMark MarkOf(int gridRow) const;
    // The first listed row whose cells in all columns equal the texts; 0 when none.
    int FindRow(const std::vector<int> &columns, const std::vector<QString> &values) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ScheduleTable table_;
    std::vector<TScheduleRow> rows_;
    QStringList headerTexts_;
};

} // namespace drmq
