// The schedule in the main window: loading at start-up, evaluation at a fixed
// UTC instant, the grid's rows, marks, panels, sorting and selection.
#include "schedule/ColorsDialog.h"
#include "schedule/ScheduleGridModel.h"
#include "support/ScheduleFileBuilder.h"
#include "support/TuningKeys.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTimer>

namespace drmq::test {
namespace {

TScheduleBlock Block(const char *start, const char *stop, const char *khz, const char *kw, const char *programme) {
    TScheduleBlock b;
    b.Start = start;
    b.Stop = stop;
    b.Frequency = khz;
    b.Power = kw;
    b.Programme = programme;
    return b;
}

// At the fixture's instant, Monday 10:00:30 UTC.
const std::vector<TScheduleBlock> kBlocks = {
    Block("0900", "1030", "6095", "100", "Radio Alpina"),    // on air
    Block("1030", "1130", "7325", "50", "Voice of the Bay"), // starts within the hour
    Block("1500", "1600", "9999", "100", "Evening Service"), // later today
    Block("0930", "1100", "1440", "5", "Weak Medium Wave"),  // on air but below 11 kW
    Block("1000", "1100", "15440", "100", "Radio Nordwind"), // on air
};

class ScheduleWindow : public WindowFixture {
protected:
    TForm1 &StartWith(const std::string &settings = "QRG=15440\r\n", const std::vector<TScheduleBlock> &blocks = kBlocks) {
        WriteSettings(settings);
        WriteFile("DRMSchedule.ini", ScheduleFileText(blocks));
        return Start();
    }
    static QStringList Column(TForm1 &form, int column) {
        QStringList texts;
        for (int r = 1; r < form.ScheduleModel->RowCount(); ++r) texts << form.GridCell(column, r);
        return texts;
    }
    static int SelectedRow(TForm1 &form) {
        const QModelIndexList rows = form.StringGrid1->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.front().row() + 1 : rows.isEmpty() ? 0 : -1;
    }
    static void Press(TForm1 &form, Qt::MouseButton button, int gridRow, QEvent::Type type = QEvent::MouseButtonPress) {
        const QPoint at = form.StringGrid1->visualRect(form.ScheduleModel->index(gridRow - 1, 1)).center();
        QMouseEvent event(type, at, form.StringGrid1->viewport()->mapToGlobal(at), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
        QApplication::sendEvent(form.StringGrid1->viewport(), &event);
    }
};

TEST_F(ScheduleWindow, StartUpLoadsEvaluatesAndSelectsTheTunedRow) {
    TForm1 &form = StartWith();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_EQ(Column(form, 0), QStringList({"Radio Alpina", "Radio Nordwind", "Voice of the Bay"}));
    EXPECT_EQ(Column(form, 1), QStringList({"0900-1030", "1000-1100", "1030-1130"}));
    EXPECT_EQ(Column(form, 8), QStringList({"onair", "onair", "next"}));
    EXPECT_EQ(form.Panel(2)->text(), "All: 5");
    EXPECT_EQ(form.Panel(3)->text(), "Air: 2");
    EXPECT_EQ(form.Panel(4)->text(), "Prev: 1");
    EXPECT_EQ(form.CurrentGridRow(), 2);
    EXPECT_EQ(SelectedRow(form), 2);
    EXPECT_EQ(form.Edit2->text(), "60");
}

TEST_F(ScheduleWindow, GridHasItsColumnsHeaderAndSortButtonsInTheHeaderRow) {
    TForm1 &form = StartWith();
    QHeaderView *header = form.StringGrid1->horizontalHeader();
    const int widths[] = {105, 61, 37, 32, 89, 99, 87, 73};
    const QStringList texts = {"Programme", "Time", "kHz", "kW", "Target", "Site", "Country", "Language"};
    for (int c = 0; c < 8; ++c) {
        EXPECT_GE(header->sectionSize(c), form.Scale(widths[c])) << c;
        EXPECT_EQ(form.GridCell(c, 0), texts[c]);
        const QRect button = form.rb[static_cast<size_t>(c)]->geometry();
        const int frame = form.StringGrid1->frameWidth();
        const int cellRight = frame + header->sectionPosition(c) + header->sectionSize(c) - 1;
        EXPECT_EQ(button.size(), QSize(form.Scale(13), form.Scale(13)));
        EXPECT_EQ(button.right(), cellRight - 1) << c;
        EXPECT_GE(button.top(), frame);
        EXPECT_LE(button.bottom(), frame + header->height() - 1) << c;
    }
    EXPECT_TRUE(form.StringGrid1->isColumnHidden(8));
    EXPECT_EQ(form.StringGrid1->verticalHeader()->defaultSectionSize(), form.GridRowHeight());
    EXPECT_GE(form.GridRowHeight(), form.Scale(16));
    EXPECT_EQ(form.StringGrid1->selectionBehavior(), QAbstractItemView::SelectRows);
    int chosen = 0;
    for (auto *button : form.rb) chosen += button->isChecked() ? 1 : 0;
    EXPECT_EQ(chosen, 1);
}

TEST_F(ScheduleWindow, SortingByKilohertzKeepsTheTunedRowSelected) {
    TForm1 &form = StartWith();
    form.rb[2]->setChecked(true);
    EXPECT_EQ(Column(form, 2), QStringList({"6095", "7325", "15440"}));
    EXPECT_EQ(form.CurrentGridRow(), 3);
    EXPECT_EQ(SelectedRow(form), 3);
    form.rb[0]->setChecked(true);
    EXPECT_EQ(Column(form, 0), QStringList({"Radio Alpina", "Radio Nordwind", "Voice of the Bay"}));
    EXPECT_EQ(form.CurrentGridRow(), 2);
}

TEST_F(ScheduleWindow, AllListsEveryEntryAndTheUpcomingOneTwice) {
    TForm1 &form = StartWith();
    form.chkshowall->setChecked(true);
    EXPECT_EQ(Column(form, 2), QStringList({"6095", "7325", "9999", "1440", "15440", "7325"}));
    EXPECT_EQ(Column(form, 8), QStringList({"onair", "", "", "", "onair", "next"}));
    EXPECT_EQ(form.Panel(3)->text(), "Air: 2");
    form.cblow->setChecked(true);
    EXPECT_EQ(Column(form, 8), QStringList({"onair", "", "", "onair", "onair", "next"}));
    EXPECT_EQ(form.Panel(3)->text(), "Air: 3");
}

TEST_F(ScheduleWindow, WithoutPreviewOnlyTheHeaderRemainsWhenNothingIsOnAir) {
    clock->Set(DateTimeParts{2024, 3, 4, 20, 0, 0, 0});
    TForm1 &form = StartWith("Preview=0\r\n");
    // No box changed at start-up, so the first clock tick evaluates.
    EXPECT_EQ(form.Panel(3)->text(), "");
    form.Timer1Timer();
    EXPECT_EQ(form.ScheduleModel->RowCount(), 1);
    EXPECT_EQ(form.Panel(3)->text(), "Air: 0");
    EXPECT_EQ(form.Panel(4)->text(), "Prev: 0");
    EXPECT_EQ(form.CurrentGridRow(), 0);
}

TEST_F(ScheduleWindow, TunedFrequencyNotListedLeavesNoRowSelected) {
    TForm1 &form = StartWith("QRG=999\r\n");
    EXPECT_EQ(form.CurrentGridRow(), 0);
    EXPECT_EQ(SelectedRow(form), 0);
}

TEST_F(ScheduleWindow, PreviewSpanIsReadFromTheHiddenFieldAndWrittenBack) {
    const std::pair<const char *, const char *> cases[] = {{"abc", "30"}, {"500", "60"}, {"0", "1"}};
    for (const auto &[written, shown] : cases) {
        TForm1 &form = StartWith(std::string("Preview span=") + written + "\r\n");
        EXPECT_EQ(form.Edit2->text(), shown) << written;
        program.reset();
    }
}

TEST_F(ScheduleWindow, WhileTheAttentionPromptWaitsTheSelectionStays) {
    TForm1 &form = StartWith();
    form.Edit1->setText("6095");
    form.PromptArmed = false;
    form.DRMSchedule();
    EXPECT_EQ(form.CurrentGridRow(), 2);
    form.PromptArmed = true;
    form.DRMSchedule();
    EXPECT_EQ(form.CurrentGridRow(), 1);
}

TEST_F(ScheduleWindow, TheClockEvaluatesWhenTheMinuteChanges) {
    TForm1 &form = StartWith();
    form.Timer1Timer();
    clock->Set(DateTimeParts{2024, 3, 4, 10, 45, 0, 0});
    form.Timer1Timer();
    EXPECT_EQ(Column(form, 0), QStringList({"Voice of the Bay", "Radio Nordwind"}));
    EXPECT_EQ(form.Panel(3)->text(), "Air: 2");
    EXPECT_EQ(form.Panel(4)->text(), "Prev: 0");
}

TEST_F(ScheduleWindow, MissingScheduleFileShowsTheFileErrorAndKeepsRunning) {
    // Settings with the download off, and no schedule beside them.
    WriteFile("DRMQuodra.ini", "[Settings]\r\nUpdate=0\r\n");
    TForm1 &form = Start();
    ASSERT_FALSE(errors.isEmpty());
    EXPECT_EQ(errors.front(), "Datei nicht gefunden");
    EXPECT_EQ(form.Panel(2)->text(), "");
    form.chkshowall->setChecked(true);
    EXPECT_EQ(form.Panel(3)->text(), "Air: 0");
    EXPECT_EQ(form.ScheduleModel->RowCount(), 1);
}

TEST_F(ScheduleWindow, ClickingARowWhileConnectedTunesToItsFrequency) {
    // A library receiver without an open radio sends nothing anywhere.
    TForm1 &form = StartWith("QRG=15440\r\nReceiver=5\r\n");
    form.show();
    form.checkaor->setChecked(true);
    Press(form, Qt::LeftButton, 3);
    Press(form, Qt::LeftButton, 3, QEvent::MouseButtonRelease);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_EQ(form.Edit1->text(), "7325");
    EXPECT_EQ(form.CurrentGridRow(), 3);
}

TEST_F(ScheduleWindow, MovingToARowWithTheKeysTunesLikeAClick) {
    TForm1 &form = StartWith("QRG=15440\r\nReceiver=5\r\n");
    form.show();
    form.checkaor->setChecked(true);
    Press(form, Qt::LeftButton, 3);
    Press(form, Qt::LeftButton, 3, QEvent::MouseButtonRelease);
    form.StringGrid1->setFocus();
    QApplication::setActiveWindow(&form);
    ASSERT_EQ(QApplication::focusWidget(), form.StringGrid1);
    PressKey(form.StringGrid1, Qt::Key_Up);
    QApplication::processEvents();
    EXPECT_EQ(form.CurrentGridRow(), 2);
    EXPECT_EQ(form.Edit1->text(), form.GridCell(2, 2));
    EXPECT_NE(form.Edit1->text(), "7325");
    // A key that does not move the row does not tune again.
    form.Edit1->setText("1");
    PressKey(form.StringGrid1, Qt::Key_Shift);
    QApplication::processEvents();
    EXPECT_EQ(form.Edit1->text(), "1");
}

TEST_F(ScheduleWindow, ClickingARowWhileDisconnectedOnlySelectsIt) {
    TForm1 &form = StartWith();
    form.show();
    Press(form, Qt::LeftButton, 1);
    Press(form, Qt::LeftButton, 1, QEvent::MouseButtonRelease);
    EXPECT_EQ(form.Edit1->text(), "15440");
    EXPECT_EQ(form.CurrentGridRow(), 1);
}

TEST_F(ScheduleWindow, RightPressOpensTheColoursDialogOnceAndThenEvaluates) {
    TForm1 &form = StartWith();
    form.show();
    int shown = 0;
    QObject::connect(program->Form3, &QDialog::finished, [&] { ++shown; });
    // The dialog closes itself as soon as it is up; meanwhile the clock moved.
    QTimer::singleShot(0, program->Form3, [&] {
        clock->Set(DateTimeParts{2024, 3, 4, 10, 45, 0, 0});
        program->Form3->reject();
    });
    Press(form, Qt::RightButton, 1);
    QApplication::processEvents();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(form.Panel(4)->text(), "Prev: 0"); // evaluated after closing
    EXPECT_EQ(form.GridCell(2, form.CurrentGridRow()), "15440"); // the right button picks no row
}

TEST_F(ScheduleWindow, ColoursChosenInTheDialogAreSavedAtExit) {
    TForm1 &form = StartWith();
    QTimer::singleShot(0, program->Form3, [&] {
        QColorDialog *picker = program->Form3->ColorDialog[csOnair];
        picker->setCurrentColor(QColor(1, 2, 3));
        picker->accept();
    });
    program->Form3->ColorButtonClick(csOnair);
    EXPECT_EQ(form.Settings.Colors[csOnair], 0x00030201u);
    form.FormClose();
    EXPECT_NE(ReadFile("DRMQuodra.ini").find("Onair=$00030201"), std::string::npos);
}

} // namespace
} // namespace drmq::test
