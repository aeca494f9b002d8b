// Schedule handlers of the main window: loading, evaluation, grid, sorting.
#include "app/Form1.h"

#include "core/Cp1252.h"
#include "schedule/ColorsDialog.h"
#include "schedule/ScheduleCellPainter.h"
#include "schedule/ScheduleGridModel.h"
#include "schedule/SourcesUpdate.h"

#include <QCollator>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

namespace drmq {

namespace {

// Only a plain left press picks a row, as the grid's click handler then
// tunes to it: other buttons leave the row alone (the right one opens the
// colours dialog), and Ctrl or Shift neither unselect the row nor move the
// current row without selecting it.
class TRowPickFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *, QEvent *event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
            type != QEvent::MouseButtonRelease && type != QEvent::MouseMove)
            return false;
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (type != QEvent::MouseMove && mouse->button() != Qt::LeftButton) return true;
        mouse->setModifiers(Qt::NoModifier);
        return false;
    }
};
} // namespace

TScheduleGridModel &TForm1::ScheduleGrid() {
    if (ScheduleModel) return *ScheduleModel;
    ScheduleModel = new TScheduleGridModel(StringGrid1);
    StringGrid1->setHorizontalHeader(new TScheduleHeader(StringGrid1));
    StringGrid1->setModel(ScheduleModel);
    StringGrid1->setItemDelegate(new TScheduleCellDelegate(Settings.Colors, StringGrid1));
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setShowGrid(true);
    StringGrid1->setWordWrap(false);
    // Columns never cut their texts; a schedule too wide for the window scrolls.
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    StringGrid1->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setMinimumSectionSize(1);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultSectionSize(GridRowHeight());
    QHeaderView *header = StringGrid1->horizontalHeader();
    header->setMinimumSectionSize(0);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setFixedHeight(GridRowHeight());
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    QPalette palette = StringGrid1->palette();
    palette.setColor(QPalette::Base, ToQColor(kColorBtnFace));
    StringGrid1->setPalette(palette);
    StringGrid1->viewport()->installEventFilter(new TRowPickFilter(StringGrid1));
    // Tab leaves the grid instead of moving from cell to cell.
    StringGrid1->setTabKeyNavigation(false);
    connect(StringGrid1->horizontalScrollBar(), &QScrollBar::valueChanged, this, &TForm1::PlaceSortButtons);
    FitGridColumns();
    return *ScheduleModel;
}

void TForm1::SetupGrid() {
    TScheduleGridModel &grid = ScheduleGrid();
    grid.SetHeaderTexts({"Programme", "Time", "kHz", "kW", "Target", "Site", "Country", "Language", "", "Sources"});
    FitGridColumns();
    // Column 8 holds the row marks and is never seen.
    StringGrid1->setColumnHidden(kMarkColumn, true);
}

void TForm1::LoadSchedule() { ShowSchedule(LoadScheduleWithSources(options_.ProgramFolder)); }

void TForm1::ShowSchedule(ScheduleTable table) {
    TScheduleGridModel &grid = ScheduleGrid();
    grid.SetTable(std::move(table));
    FitGridColumns();
    SetPanelText(2, "All: " + QString::number(grid.Table().EntryCount()));
}

void TForm1::ReloadSchedule(ScheduleTable table) {
    const int selected = CurrentGridRow();
    std::vector<int> columns;
    std::vector<QString> cells;
    for (int column = 0; selected > 0 && column < kMarkColumn; ++column) {
        columns.push_back(column);
        cells.push_back(GridCell(column, selected));
    }
    ShowSchedule(std::move(table));
    DRMSchedule();
    const int row = columns.empty() ? 0 : ScheduleGrid().FindRow(columns, cells);
    // Selected again without a click: the entry is the same, so nothing is
    // tuned anew.
    if (row == 0) return;
    SetCurrentGridRow(row);
    StringGrid1->scrollTo(ScheduleGrid().index(row - 1, 0));
}

void TForm1::DRMSchedule() {
    TScheduleGridModel &grid = ScheduleGrid();
    TEvaluationOptions options;
    options.ShowAll = chkshowall->isChecked();
    options.PowerTest = !cblow->isChecked();
    options.Preview = chknext->isChecked();
    if (options.Preview) {
        options.PreviewSpan = PreviewSpanOf(ToCp1252(Edit2->text()));
        Edit2->setText(QString::number(options.PreviewSpan));
    }
    TEvaluation evaluation = EvaluateSchedule(grid.Table(), UtcNow(), options);
    for (int i = 0; i < 8; ++i) {
        if (!rb[static_cast<size_t>(i)]->isChecked()) continue;
        const int column = SortColumnOfSelector(i);
        if (column >= 0) SortGrid(evaluation.Rows, grid.Table(), column, QCollator());
        break;
    }

    // Only the current row number survives the rebuild.
    const int current = CurrentGridRow();
    grid.SetRows(std::move(evaluation.Rows));
    SetCurrentGridRow(std::min(current, grid.RowCount() - 1));
    SetPanelText(3, "Air: " + QString::number(evaluation.OnAirCount));
    SetPanelText(4, "Prev: " + QString::number(evaluation.PreviewCount));

    // Keep the tuned frequency's row selected, unless SetFreq is waiting for
    // the user's answer.
    const QString tuned = Edit1->text();
    if (GridCell(2, CurrentGridRow()) != tuned && PromptArmed) SeekRecord({2}, {tuned});
}

bool TForm1::SeekRecord(const std::vector<int> &columns, const std::vector<QString> &values) {
    TScheduleGridModel &grid = ScheduleGrid();
    const int row = grid.FindRow(columns, values);
    if (row == 0) {
        SetCurrentGridRow(0);
        return false;
    }
    const int previous = CurrentGridRow();
    SetCurrentGridRow(row);
    StringGrid1->scrollTo(grid.index(row - 1, 0));
    // Like the grid itself, only a change of row is a click: SetFreq seeks
    // the row again and must not start another round.
    if (row != previous) StringGrid1Click();
    return true;
}

void TForm1::StringGrid1Click() {
    if (!checkaor->isChecked()) return;
    SetFreq(GridCell(2, CurrentGridRow()));
}

void TForm1::StringGrid1MouseDown(Qt::MouseButton button) {
    if (button != Qt::RightButton || !Form3) return;
    Form3->exec();
    DRMSchedule();
}

void TForm1::chkshowallClick() {
    DRMSchedule();
}

void TForm1::cblowClick() {
    DRMSchedule();
}

void TForm1::chknextClick() {
    DRMSchedule();
}

void TForm1::rbClick(int) {
    DRMSchedule();
}

int TForm1::CurrentGridRow() const {
    const QModelIndex current = StringGrid1->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void TForm1::SetCurrentGridRow(int row) {
    QItemSelectionModel *selection = StringGrid1->selectionModel();
    if (!selection) return;
    if (row <= 0) {
        selection->clear();
        return;
    }
    const int column = std::max(0, StringGrid1->currentIndex().column());
    selection->setCurrentIndex(ScheduleGrid().index(row - 1, column),
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QString TForm1::GridCell(int column, int row) const {
    return ScheduleModel ? ScheduleModel->CellText(column, row) : QString();
}

} // namespace drmq
