#include "schedule/ScheduleCellPainter.h"

#include "core/TextMargin.h"
#include "schedule/ScheduleGridModel.h"

#include <QPainter>

namespace drmq {

TCellColors CellColorsFor(bool selected, bool fixed, TRowMark mark, const TScheduleColors &colors) {
    if (selected) return {colors[csActive], colors[csActiveText]};
    if (fixed) return {kColorBtnFace, kColorBtnText};
    switch (mark) {
    case TRowMark::Next: return {colors[csPreview], colors[csPreviewText]};
    case TRowMark::OnAir: return {colors[csOnair], colors[csOnairText]};
    case TRowMark::None: break;
    }
    return {kColorBtnFace, kColorWindowText};
}

void StringGrid1DrawCell(QPainter *painter, const QRect &rect, int textMargin, const QString &text, bool selected,
                         bool fixed, TRowMark mark, const TScheduleColors &colors) {
    const TCellColors pair = CellColorsFor(selected, fixed, mark, colors);
    // The default colour and "no colour" leave the grid's own colours.
    const QColor background = ToQColor(pair.Background);
    const QColor foreground = ToQColor(pair.Text);
    painter->save();
    painter->setClipRect(rect);
    painter->fillRect(rect, background.isValid() ? background : ToQColor(kColorBtnFace));
    painter->setPen(foreground.isValid() ? foreground : ToQColor(kColorWindowText));
    const QRect textRect = rect.adjusted(textMargin, 2, 0, 0);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter->restore();
}

TScheduleCellDelegate::TScheduleCellDelegate(const TScheduleColors &colors, QObject *parent)
    : QStyledItemDelegate(parent), colors_(colors) {}

void TScheduleCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const {
    const auto *model = qobject_cast<const TScheduleGridModel *>(index.model());
    const TRowMark mark = model ? model->MarkOf(index.row() + 1) : TRowMark::None;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    StringGrid1DrawCell(painter, option.rect, TextMargin(option.widget), index.data().toString(), selected, false,
                        mark, colors_);
}

TScheduleHeader::TScheduleHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) {}

void TScheduleHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const {
    const QString text = model() ? model()->headerData(logicalIndex, Qt::Horizontal).toString() : QString();
    StringGrid1DrawCell(painter, rect, TextMargin(this), text, false, true, TRowMark::None, {});
    // The grid lines of the fixed row, like those between the listed cells.
    painter->save();
    painter->setPen(palette().color(QPalette::Dark));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->restore();
}

} // namespace drmq
