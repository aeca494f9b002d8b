// Painting of the schedule grid: the colour pair of each cell (selected row,
// header, "next" and "onair" rows) and the cell and header painters. UI thread.
#pragma once

#include "schedule/Colors.h"
#include "schedule/ScheduleEvaluation.h"

#include <QHeaderView>
#include <QStyledItemDelegate>

namespace drmq {

struct TCellColors {
    TColor Background;
    TColor Text;
    bool operator==(const TCellColors &) const = default;
};

// The selected row wins over the marks; the header has the desktop's button
// colours; unmarked rows keep the grid's own colours.
TCellColors CellColorsFor(bool selected, bool fixed, TRowMark mark, const TScheduleColors &colors);

// StringGrid1DrawCell: fills one cell of the grid with the colours of its
// state and writes the text the text margin right of and 2 pixels below its corner.
void StringGrid1DrawCell(QPainter *painter, const QRect &rect, int textMargin, const QString &text, bool selected,
                         bool fixed, TRowMark mark, const TScheduleColors &colors);

// Paints the listed cells through StringGrid1DrawCell with the colours in force.
class TScheduleCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    TScheduleCellDelegate(const TScheduleColors &colors, QObject *parent);
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    const TScheduleColors &colors_;
};

// The fixed header row, painted like a fixed cell of the grid.
class TScheduleHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit TScheduleHeader(QWidget *parent);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
};

} // namespace drmq
