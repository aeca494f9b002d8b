// Geometry of the main window: the design layout scaled to the window's font,
// the grid's columns fitted to the schedule, status panels fitted to texts.
#include "app/Form1.h"

#include "core/FitWidths.h"
#include "core/TextMargin.h"
#include "schedule/ScheduleGridModel.h"

#include <QHeaderView>
#include <QLayout>
#include <QLocale>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <vector>

namespace drmq {

namespace {
// Design sizes of the grid and the controls below it.
constexpr int kColumnWidths[kGridColumns] = {105, 61, 37, 32, 89, 99, 87, 73, 0, 95};
constexpr int kRowHeight = 16;
constexpr int kSortButtonSize = 13;
constexpr int kSortButtonTop = 2;
// Cell texts start 2 pixels below the cell's top and keep the text margin
// from its sides; a grid line closes it.
constexpr int kCellTextTop = 2;
constexpr int kGridLine = 1;
// From the top of the bottom controls down to the status bar.
constexpr int kControlsHeight = 151;

// Design widths of the status panels.
constexpr int kPanelWidths[9] = {75, 100, 70, 70, 70, 50, 50, 50, 50};

// The longest texts each status panel is given: update outcomes, a week-long
// log, a full schedule, bulletin values and K index times.
QStringList LongestPanelTexts(int panel) {
    switch (panel) {
    case 0:
        return {"Update: off", "Update: OK", "Update: done", "Update: failed", "Update: KiwiSDR failed",
                "Update: 4 sources failed", "Update: 4 sources, 20000 entries"};
    case 1: return {"No Logging", "Logged: 9999 min"};
    case 2: return {"All: 20000"};
    case 3: return {"Air: 20000"};
    case 4: return {"Prev: 20000"};
    case 5: return {"SF:999"};
    case 6: return {"A:999"};
    case 7: return {"K:9.00"};
    default: break;
    }
    QStringList times;
    for (int month = 1; month <= 12; ++month)
        times << "2100 29 " + QLocale::c().monthName(month, QLocale::ShortFormat);
    return times;
}

// The room a panel's text keeps before it, beyond frame and margin: a
// side-aligned text its indent, a centred one the text margin.
int LeadingRoom(const QLabel *label) {
    if (!(label->alignment() & (Qt::AlignLeft | Qt::AlignRight))) return TextMargin(label);
    if (label->indent() >= 0) return label->indent();
    return label->frameWidth() > 0 ? label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
}
} // namespace

void TForm1::ScaleControlsToFont() {
    for (QGroupBox *group : {GroupBox2, GroupBox1, GroupBox38, GroupBox29}) Scale.ScaleChildren(group);
}

void TForm1::FormResize() {
    const int width = WindowWidth();
    if (this->width() != width) resize(width, height());
    const int gridHeight = std::max(0, height() - Scale(kGridHeightAllowance));
    StringGrid1->setGeometry(0, 0, width, gridHeight);
    // Everything below the grid keeps its distance to the bottom edge.
    auto place = [&](QWidget *widget, int x, int y, int w, int h) {
        widget->setGeometry(Scale(QRect(x, y, w, h)).translated(0, gridHeight));
    };
    place(GroupBox2, 2, 2, 202, 44);
    place(GroupBox1, 206, 2, 428, 44);
    for (int i = 0; i < 10; ++i) {
        const int x = 4 + i * 42;
        if (i < 8) place(Mem[static_cast<size_t>(i)], 206 + x, 18, 40, 24);
        else Mem[static_cast<size_t>(i)]->setGeometry(Scale(QRect(x, 16, 40, 24)));
    }
    place(GroupBox38, 2, 47, 468, 104);
    place(GroupBox29, 472, 47, 162, 104);
    StatusBar1->setFixedHeight(Scale(kGridHeightAllowance) - Scale(kControlsHeight));
    if (ScheduleModel) PlaceSortButtons();
}

int TForm1::GridRowHeight() const {
    return std::max(Scale(kRowHeight), StringGrid1->fontMetrics().height() + kCellTextTop + kGridLine);
}

void TForm1::FitGridColumns() {
    TScheduleGridModel &grid = ScheduleGrid();
    const QFontMetrics metrics = StringGrid1->fontMetrics();
    const int sortButton = Scale(kSortButtonSize);
    const int margin = TextMargin(StringGrid1);
    // Every column but the hidden mark, in order; "Sources" only for a
    // schedule that names its sources.
    const auto &entries = grid.Table().Entries;
    const bool sourcesShown = std::any_of(entries.begin(), entries.end(), [](const ScheduleEntry &e) { return e.Sources != 0; });
    StringGrid1->setColumnHidden(kSourcesColumn, !sourcesShown);
    std::vector<int> shown;
    for (int c = 0; c < kGridColumns; ++c)
        if (c != kMarkColumn && (c != kSourcesColumn || sourcesShown)) shown.push_back(c);
    std::vector<int> needed, preferred;
    for (int c : shown) {
        // The header text, a gap and the sort button at the right end.
        int widest = metrics.horizontalAdvance(grid.CellText(c, 0)) + Scale(3) + sortButton;
        for (const ScheduleEntry &entry : grid.Table().Entries)
            widest = std::max(widest, metrics.horizontalAdvance(GridCellText(entry, TRowMark::None, c)));
        needed.push_back(std::max(kColumnWidths[c], margin + widest + margin + kGridLine));
        preferred.push_back(Scale(kColumnWidths[c]));
    }
    // The room inside the frame beside the vertical scroll bar.
    const int room = WindowWidth() - 2 * StringGrid1->frameWidth() -
                     StringGrid1->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, StringGrid1);
    const std::vector<int> widths = FitWidths(needed, preferred, room);
    QHeaderView *header = StringGrid1->horizontalHeader();
    for (size_t i = 0; i < shown.size(); ++i) header->resizeSection(shown[i], widths[i]);
    header->resizeSection(kMarkColumn, 0);
    PlaceSortButtons();
}

void TForm1::PlaceSortButtons() {
    // Each sort button at the right end of its column's header cell; one
    // whose column is scrolled out of sight is hidden with it.
    QHeaderView *header = StringGrid1->horizontalHeader();
    const int frame = StringGrid1->frameWidth();
    const int size = std::min(Scale(kSortButtonSize), GridRowHeight() - Scale(kSortButtonTop));
    // Where the vertical scroll bar may stand, no button is shown.
    const int viewRight = StringGrid1->width() - frame -
                          StringGrid1->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, StringGrid1);
    for (int c = 0; c < 8; ++c) {
        QRadioButton *button = rb[static_cast<size_t>(c)];
        const int right = frame + header->sectionViewportPosition(c) + header->sectionSize(c) - 1;
        button->setGeometry(right - size, frame + Scale(kSortButtonTop), size, size);
        button->setVisible(right - size >= frame && right <= viewRight);
        button->raise();
    }
}

int TForm1::PanelWidthFor(int index, const QString &text) const {
    const QLabel *label = Panel(index);
    return 2 * label->frameWidth() + 2 * label->margin() + LeadingRoom(label) +
           label->fontMetrics().horizontalAdvance(text) + TextMargin(label);
}

void TForm1::FitStatusPanels() {
    std::vector<int> needed(9);
    std::vector<int> preferred(9);
    for (int i = 0; i < 9; ++i) {
        int widest = PanelWidthFor(i, Panel(i)->text());
        for (const QString &text : LongestPanelTexts(i)) widest = std::max(widest, PanelWidthFor(i, text));
        needed[static_cast<size_t>(i)] = widest;
        preferred[static_cast<size_t>(i)] = Scale(kPanelWidths[i]);
    }
    // The status bar sets its panels 2 pixels in and spaces them apart.
    const int spacing = std::max(0, StatusBar1->layout()->spacing());
    const std::vector<int> widths = FitWidths(needed, preferred, WindowWidth() - 4 - 8 * spacing);
    for (int i = 0; i < 9; ++i) Panel(i)->setFixedWidth(widths[static_cast<size_t>(i)]);
}

} // namespace drmq
