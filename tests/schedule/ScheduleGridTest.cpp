// The grid's model, the colours of its cells as painted, and the colours
// dialog with its pickers.
#include "core/DesignScale.h"
#include "schedule/ColorsDialog.h"
#include "schedule/ScheduleCellPainter.h"
#include "schedule/ScheduleGridModel.h"

#include <QImage>
#include <QTableView>
#include <QTimer>
#include <gtest/gtest.h>

namespace drmq {
namespace {

const TScheduleColors kDefaults = {0x00FF0000, 0x00FFFFFF, 0x0000FF00, 0x00000000, 0x000000FF, 0x00C0C0C0};

ScheduleTable ThreeEntries() {
    ScheduleTable table;
    const char *freqs[] = {"6095", "1440", "15440"};
    for (const char *f : freqs) {
        ScheduleEntry &e = table.Entries.emplace_back();
        e.StartTime = "0600";
        e.StopTime = "0700";
        e.FrequencyKHz = f;
        e.Programme = "Radio \xC9t\xE9"; // Windows-1252 bytes
    }
    return table;
}

TEST(ScheduleCellColors, SelectedWinsThenHeaderThenMarks) {
    struct Case {
        bool selected, fixed;
        TRowMark mark;
        TCellColors expected;
    };
    const Case cases[] = {
        {true, false, TRowMark::OnAir, {kDefaults[csActive], kDefaults[csActiveText]}},
        {true, false, TRowMark::Next, {kDefaults[csActive], kDefaults[csActiveText]}},
        {false, true, TRowMark::None, {kColorBtnFace, kColorBtnText}},
        {false, false, TRowMark::Next, {kDefaults[csPreview], kDefaults[csPreviewText]}},
        {false, false, TRowMark::OnAir, {kDefaults[csOnair], kDefaults[csOnairText]}},
        {false, false, TRowMark::None, {kColorBtnFace, kColorWindowText}},
    };
    for (const Case &c : cases) EXPECT_EQ(CellColorsFor(c.selected, c.fixed, c.mark, kDefaults), c.expected);
}

TEST(ScheduleGridModel, ListsRowsByGridNumberWithTheHeaderAsRowZero) {
    TScheduleGridModel model;
    model.SetHeaderTexts({"Programme", "Time", "kHz", "kW", "Target", "Site", "Country", "Language"});
    model.SetTable(ThreeEntries());
    EXPECT_EQ(model.RowCount(), 1);
    model.SetRows({{2, TRowMark::OnAir}, {0, TRowMark::Next}});
    EXPECT_EQ(model.RowCount(), 3);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 10);
    EXPECT_EQ(model.CellText(2, 0), "kHz");
    EXPECT_EQ(model.CellText(2, 1), "15440");
    EXPECT_EQ(model.CellText(8, 1), "onair");
    EXPECT_EQ(model.CellText(8, 2), "next");
    EXPECT_EQ(model.CellText(0, 2), QString::fromUtf8("Radio Été"));
    EXPECT_EQ(model.data(model.index(1, 2)).toString(), "6095");
    EXPECT_EQ(model.headerData(7, Qt::Horizontal).toString(), "Language");
    EXPECT_EQ(model.MarkOf(2), TRowMark::Next);
}

TEST(ScheduleGridModel, FindsTheFirstRowWhoseCellsMatchExactly) {
    TScheduleGridModel model;
    model.SetTable(ThreeEntries());
    model.SetRows({{1, TRowMark::None}, {0, TRowMark::None}, {1, TRowMark::Next}});
    EXPECT_EQ(model.FindRow({2}, {"1440"}), 1);
    EXPECT_EQ(model.FindRow({2}, {"6095"}), 2);
    EXPECT_EQ(model.FindRow({2, 8}, {"1440", "next"}), 3);
    EXPECT_EQ(model.FindRow({2}, {"144"}), 0);
    EXPECT_EQ(model.FindRow({2}, {"15440"}), 0);
}

// Renders a grid with the delegate and reads the colour inside a cell, away
// from its text.
class ScheduleGridPainting : public ::testing::Test {
protected:
    TScheduleColors colors = kDefaults;
    TScheduleGridModel model;
    QTableView view;

    void SetUp() override {
        model.SetTable(ThreeEntries());
        model.SetRows({{0, TRowMark::OnAir}, {1, TRowMark::Next}, {2, TRowMark::None}});
        view.setModel(&model);
        view.setItemDelegate(new TScheduleCellDelegate(colors, &view));
        view.setHorizontalHeader(new TScheduleHeader(&view));
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.resize(700, 200);
        view.show();
    }
    QColor CellBackground(int row, int column) {
        const QImage image = view.viewport()->grab().toImage();
        const QRect rect = view.visualRect(model.index(row, column));
        return image.pixelColor(rect.right() - 2, rect.bottom() - 1);
    }
};

TEST_F(ScheduleGridPainting, RowsShowTheirMarkColoursAndTheSelectedRowTheActivePair) {
    EXPECT_EQ(CellBackground(0, 1), QColor(0, 255, 0));
    EXPECT_EQ(CellBackground(1, 1), QColor(255, 0, 0));
    EXPECT_EQ(CellBackground(2, 1), ToQColor(kColorBtnFace));
    view.selectRow(0);
    EXPECT_EQ(CellBackground(0, 1), QColor(0, 0, 255));
    EXPECT_EQ(CellBackground(0, 5), QColor(0, 0, 255));
    // The header row keeps the button face whatever the colours.
    const QImage header = view.horizontalHeader()->viewport()->grab().toImage();
    EXPECT_EQ(header.pixelColor(view.horizontalHeader()->sectionSize(0) - 3, header.height() - 3), ToQColor(kColorBtnFace));
    // A changed colour shows at the next painting.
    colors[csPreview] = 0x00030201;
    EXPECT_EQ(CellBackground(1, 1), QColor(1, 2, 3));
}

class ScheduleColorsDialog : public ::testing::Test {
protected:
    TScheduleColors colors = kDefaults;
    TForm3 dialog{colors};

    // Answers the picker that the next click opens.
    void AnswerPicker(int slot, const QColor &color, bool confirm, QColor *shownWith = nullptr) {
        QTimer::singleShot(0, &dialog, [=, this] {
            QColorDialog *picker = dialog.ColorDialog[static_cast<size_t>(slot)];
            if (shownWith) *shownWith = picker->currentColor();
            picker->setCurrentColor(color);
            if (confirm) picker->accept();
            else picker->reject();
        });
    }
    QColor SampleBackground(int row) const { return dialog.Sample[static_cast<size_t>(row)]->palette().color(QPalette::Window); }
    QColor SampleText(int row) const { return dialog.Sample[static_cast<size_t>(row)]->palette().color(QPalette::WindowText); }
};

TEST_F(ScheduleColorsDialog, HasItsCaptionSizeAndControls) {
    EXPECT_EQ(dialog.windowTitle(), "Schedule Color Settings");
    // The design size, grown with the font.
    const TDesignScale scale = TDesignScale::ForFont(dialog.font());
    EXPECT_EQ(dialog.size(), QSize(scale(318), scale(178)));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.GroupBox1->title(), "Color Settings");
    const QStringList samples = {"Deutsche Welle", "France Culture", "Radio Paradiso"};
    const QStringList buttons = {"Active Color", "Active Text", "On Air Color", "On Air Text", "Preview Color", "Preview Text"};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(dialog.Sample[static_cast<size_t>(i)]->text(), samples[i]);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(dialog.ColorButton[static_cast<size_t>(i)]->text(), buttons[i]);
}

TEST_F(ScheduleColorsDialog, SamplesShowTheirPairs) {
    EXPECT_EQ(SampleBackground(0), QColor(0, 0, 255));
    EXPECT_EQ(SampleText(0), QColor(255, 255, 255));
    EXPECT_EQ(SampleBackground(1), QColor(0, 255, 0));
    EXPECT_EQ(SampleText(1), QColor(0, 0, 0));
    EXPECT_EQ(SampleBackground(2), QColor(255, 0, 0));
    EXPECT_EQ(SampleText(2), QColor(192, 192, 192));
}

TEST_F(ScheduleColorsDialog, ConfirmedPickSetsTheColourAndItsSampleAtOnce) {
    AnswerPicker(csOnairText, QColor(1, 2, 3), true);
    dialog.ColorButtonClick(csOnairText);
    EXPECT_EQ(colors[csOnairText], 0x00030201u);
    EXPECT_EQ(SampleText(1), QColor(1, 2, 3));
    EXPECT_EQ(SampleBackground(1), QColor(0, 255, 0));
    AnswerPicker(csPreview, QColor(0, 255, 0), true);
    dialog.ColorButtonClick(csPreview);
    EXPECT_EQ(ColorToString(colors[csPreview]), "clLime");
    EXPECT_EQ(SampleBackground(2), QColor(0, 255, 0));
}

TEST_F(ScheduleColorsDialog, CancelledPickChangesNothing) {
    AnswerPicker(csActive, QColor(9, 9, 9), false);
    dialog.ColorButtonClick(csActive);
    EXPECT_EQ(colors, kDefaults);
    EXPECT_EQ(SampleBackground(0), QColor(0, 0, 255));
}

TEST_F(ScheduleColorsDialog, EachPickerOpensWithItsLastConfirmedColour) {
    QColor shown;
    AnswerPicker(csActive, QColor(10, 20, 30), false, &shown);
    dialog.ColorButtonClick(csActive);
    EXPECT_EQ(shown, QColor(0, 0, 255));
    AnswerPicker(csActive, QColor(10, 20, 30), true);
    dialog.ColorButtonClick(csActive);
    AnswerPicker(csActive, QColor(200, 0, 0), false, &shown);
    dialog.ColorButtonClick(csActive);
    EXPECT_EQ(shown, QColor(10, 20, 30));
    // Another button's picker keeps its own colour.
    AnswerPicker(csActiveText, QColor(1, 1, 1), false, &shown);
    dialog.ColorButtonClick(csActiveText);
    EXPECT_EQ(shown, QColor(255, 255, 255));
}

} // namespace
} // namespace drmq
