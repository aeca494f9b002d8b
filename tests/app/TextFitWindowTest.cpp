// Every text of the main window and its dialogs fits where it is shown:
// controls, grid cells of a season with long names and all its sources, header, sort buttons and
// status panels, at the desktop font and at one and a half times that font (the same program
// runs again under a scale factor of 2); the ink of cell and panel texts stays
// clear of their edges. And a dark desktop palette leaves every text that is
// not a schedule colour readable.
#include "app/RadioGroup.h"
#include "core/TextMargin.h"
#include "logging/AttentionDialog.h"
#include "rig/HamlibDialog.h"
#include "schedule/ColorsDialog.h"
#include "schedule/ScheduleCellPainter.h"
#include "schedule/ScheduleGridModel.h"
#include "schedule/ScheduleLoader.h"
#include "schedule/ScheduleSource.h"
#include "schedule/ScheduleSourcesDialog.h"
#include "schedule/ScheduleWriter.h"
#include "support/ScheduleFileBuilder.h"
#include "support/WindowFixture.h"
#include "tuning/PresetsDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QStyleOption>
#include <QToolButton>

#include <cmath>

namespace drmq::test {
namespace {

// A winter season as schedules list it: names filling their 20 (language 15)
// characters, wide capitals, tenth-kilowatt powers, five-digit frequencies.
// Fields in file order: start, stop, days, kHz, target, kW, programme,
// language, site, country.
const std::vector<TScheduleBlock> kSeason = {
    {"0000", "2400", "0000000", "177", "Central Europe", "250", "Radio Nordwind", "Deutsch", "Gr\xFCnfeld",
     "Germany"},
    {"0600", "0800", "0111110", "15440", "Western Mediterranea", "100", "Voice of Wide Waters", "Portuguese",
     "Wolfsmoor-Waldheide", "United Arab Emirates"},
    {"1000", "1100", "0000000", "25795", "South-East Asia", "2.5", "World Music Network", "Bahasa Indonesia",
     "Mount Wambergen", "Papua New Guinea"},
    {"0900", "1300", "0000000", "17870", "Middle East, Arabia", "1000", "Broadcasting Westmar", "Arabic/English",
     "Wadi Al-Mahmoudiya", "Saudi Arabia"},
    {"0930", "1200", "0000000", "13590", "Northern & Western E", "125", "Kanal Lindenhain Wel", "Nederlands",
     "Lindenhain-Wittmoor", "Netherlands"},
    {"1000", "1400", "1000001", "9655", "Australia, New Zeala", "0.5", "Mediumwave Weekender", "English",
     "Wellington Heights", "New Zealand"},
    {"2300", "0100", "0111110", "3995", "Germany (Nationwide)", "1", "Hamburger Welle MW", "Deutsch",
     "Wilhelmshaven-Mitte", "Germany"},
    {"1030", "1130", "0000000", "11620", "India & Subcontinent", "250", "Mumbai Metropolitan", "Hindi/Marathi",
     "Kolkata Mogra West", "India"},
};

// Texts the panels are given in a long run: a failed update, a day's log,
// a full schedule.
const char *const kPanelTexts[5] = {"Update: failed", "Logged: 1440 min", "All: 20000", "Air: 20000",
                                    "Prev: 20000"};

class TextFitWindow : public WindowFixture {
protected:
    void TearDown() override {
        WindowFixture::TearDown();
        QApplication::setFont(desktopFont_);
        QApplication::setPalette(desktopPalette_);
    }

    TForm1 &StartWithSeason() {
        WriteSettings("Preview=0\r\n");
        const std::string season = ScheduleFileText(kSeason);
        WriteFile("DRMSchedule.ini", season);
        // Every list names every entry: the widest "Sources" cell.
        ScheduleTable table = ParseSchedule(season);
        for (ScheduleEntry &entry : table.Entries) entry.Sources = 0x0F | kIrregularBit;
        WriteFile("DRMSchedule.src", SourcesFileText(table, season));
        QFile::copy(DRMQ_SOURCE_DIR "/data/wwv.txt", QString::fromStdString(Folder() + "wwv.txt"));
        TForm1 &form = Start();
        form.chkshowall->setChecked(true);
        for (int i = 0; i < 5; ++i) form.SetPanelText(i, kPanelTexts[i]);
        form.show();
        QApplication::processEvents();
        return form;
    }

    QFont desktopFont_ = QApplication::font();
    QPalette desktopPalette_ = QApplication::palette();
};

std::string Name(const QWidget *w) {
    return (w->objectName().isEmpty() ? std::string(w->metaObject()->className()) : w->objectName().toStdString());
}

// The text lies within the room, sideways and in height.
void ExpectFits(const QWidget *w, const QString &text, const QRect &room) {
    const QFontMetrics metrics = w->fontMetrics();
    EXPECT_LE(metrics.horizontalAdvance(text), room.width())
        << Name(w) << " \"" << text.toStdString() << "\" in " << room.width() << " px";
    EXPECT_LE(metrics.height(), room.height() + 1) << Name(w) << " \"" << text.toStdString() << "\" height";
}

// Where each kind of control writes its text: the style's contents area, less
// the frame and the indicator or the arrow.
void ExpectControlTextFits(QWidget *w) {
    QStyle *style = w->style();
    if (auto *combo = qobject_cast<QComboBox *>(w)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.frame = true;
        const QRect room = style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        for (int i = 0; i < combo->count(); ++i) ExpectFits(w, combo->itemText(i), room);
        ExpectFits(w, combo->placeholderText(), room);
    } else if (auto *check = qobject_cast<QCheckBox *>(w)) {
        QStyleOptionButton option;
        option.initFrom(check);
        ExpectFits(w, check->text(), style->subElementRect(QStyle::SE_CheckBoxContents, &option, check));
    } else if (auto *radio = qobject_cast<QRadioButton *>(w)) {
        if (radio->text().isEmpty()) return;
        QStyleOptionButton option;
        option.initFrom(radio);
        ExpectFits(w, radio->text(), style->subElementRect(QStyle::SE_RadioButtonContents, &option, radio));
    } else if (auto *button = qobject_cast<QPushButton *>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        ExpectFits(w, button->text(), style->subElementRect(QStyle::SE_PushButtonContents, &option, button));
    } else if (auto *tool = qobject_cast<QToolButton *>(w)) {
        const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, tool);
        ExpectFits(w, tool->text(), tool->rect().adjusted(frame, frame, -frame, -frame));
    } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
        // The line edit keeps 2 pixels free on either side of its text.
        const QRect room = style->subElementRect(QStyle::SE_LineEditContents, &option, edit).adjusted(2, 0, -2, 0);
        ExpectFits(w, edit->text(), room);
        // The frequency field holds up to five digits.
        if (edit->maxLength() >= 5) ExpectFits(w, QString(5, QLatin1Char('0')), room);
    } else if (auto *label = qobject_cast<QLabel *>(w)) {
        const bool sideAligned = label->alignment() & (Qt::AlignLeft | Qt::AlignRight);
        // Without an indent of its own a label indents only inside a frame.
        const int indent = !sideAligned ? 0
                           : label->indent() >= 0 ? label->indent()
                           : label->frameWidth() > 0 ? label->fontMetrics().horizontalAdvance('x') / 2
                                                     : 0;
        // A label for a field shows its shortcut underlined, without the "&".
        const QString text = label->buddy() ? QString(label->text()).remove(QLatin1Char('&')) : label->text();
        ExpectFits(w, text, label->contentsRect().adjusted(indent, 0, 0, 0));
    } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
        if (group->title().isEmpty()) return;
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect title = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
        ExpectFits(w, group->title(), title);
        EXPECT_TRUE(group->rect().contains(title)) << Name(w) << " title outside its box";
    }
}

// The main window's own controls, without the one the listener never sees:
// the preview span.
bool IsShownControl(TForm1 &form, const QWidget *w) {
    return !w->isWindow() && w->window() == &form && w != form.Edit2;
}

// Where ink lies within 2 pixels of a side of `room` in an image of the
// widget: ink is what differs from `blank` (the same place without text), or
// from the room's top-left pixel when there is no blank to compare with.
void ExpectInkClearOfSides(const QImage &image, const QImage *blank, const QRect &room, const std::string &what) {
    const qreal ratio = image.devicePixelRatio();
    const QRect pixels(QPoint(qRound(room.left() * ratio), qRound(room.top() * ratio)),
                       QPoint(qRound((room.right() + 1) * ratio) - 1, qRound((room.bottom() + 1) * ratio) - 1));
    const int band = qRound(2 * ratio);
    const QRgb background = image.pixel(pixels.topLeft());
    for (int x = pixels.left(); x <= pixels.right(); ++x) {
        if (x >= pixels.left() + band && x <= pixels.right() - band) continue;
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            const QRgb clear = blank ? blank->pixel(x, y) : background;
            if (image.pixel(x, y) == clear) continue;
            ADD_FAILURE() << what << ": ink " << (x - pixels.left()) / ratio << " px from the left of "
                          << room.width() << " px";
            return;
        }
    }
}

// Every cell text and status panel text keeps clear of its edges: the grid
// scrolled to each column in turn, the panels with and without their text.
void ExpectInkClearOfEdges(TForm1 &form) {
    QTableView *view = form.StringGrid1;
    TScheduleGridModel &grid = *form.ScheduleModel;
    for (int c : {0, 1, 2, 3, 4, 5, 6, 7, kSourcesColumn}) {
        view->scrollTo(grid.index(0, c));
        QApplication::processEvents();
        const QImage image = view->viewport()->grab().toImage();
        for (int r = 0; r < grid.rowCount(); ++r) {
            const QRect cell = view->visualRect(grid.index(r, c));
            ASSERT_TRUE(view->viewport()->rect().contains(cell)) << "cell " << c << "," << r << " out of view";
            ExpectInkClearOfSides(image, nullptr, cell,
                                  "cell " + std::to_string(c) + " \"" + grid.CellText(c, r + 1).toStdString() + "\"");
        }
    }
    for (int i = 0; i < 9; ++i) {
        QLabel *panel = form.Panel(i);
        const QString text = panel->text();
        const QImage image = panel->grab().toImage();
        panel->setText(QString());
        const QImage blank = panel->grab().toImage();
        panel->setText(text);
        const int frame = panel->frameWidth();
        ExpectInkClearOfSides(image, &blank, panel->rect().adjusted(frame, frame, -frame, -frame),
                              "panel " + std::to_string(i) + " \"" + text.toStdString() + "\"");
    }
}

void ExpectEveryTextFits(TForm1 &form) {
    // Every control, also those shown only for some receivers, with its text
    // inside its rectangle and itself inside its parent.
    for (QWidget *w : form.findChildren<QWidget *>()) {
        if (!IsShownControl(form, w) || w->parentWidget() == form.StatusBar1) continue;
        if (w->parentWidget() == form.StringGrid1 || w->parentWidget()->parentWidget() == form.StringGrid1) continue;
        ExpectControlTextFits(w);
        if (!qobject_cast<QGroupBox *>(w->parentWidget()) || w->parentWidget()->layout()) continue;
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry()))
            << Name(w) << " reaches outside " << Name(w->parentWidget());
    }
    for (QGroupBox *group : {form.GroupBox2, form.GroupBox1, form.GroupBox38, form.GroupBox29}) {
        EXPECT_TRUE(form.centralWidget()->rect().contains(group->geometry())) << Name(group);
        EXPECT_LE(group->geometry().bottom(), form.StatusBar1->y() - 1) << Name(group) << " under the status bar";
    }

    // Every cell of the season, all of it listed.
    TScheduleGridModel &grid = *form.ScheduleModel;
    ASSERT_EQ(grid.RowCount(), static_cast<int>(kSeason.size()) + 1);
    QTableView *view = form.StringGrid1;
    const int margin = TextMargin(view);
    EXPECT_EQ(grid.CellText(kSourcesColumn, 1), "drmrx HFCC EiBi KiwiSDR (irregular)");
    for (int r = 0; r < grid.rowCount(); ++r) {
        for (int c : {0, 1, 2, 3, 4, 5, 6, 7, kSourcesColumn}) {
            // Text from 2 pixels below the top, the text margin clear of both sides.
            const QRect cell = view->visualRect(grid.index(r, c)).adjusted(margin, 2, -margin, 0);
            ExpectFits(view, grid.CellText(c, r + 1), cell);
        }
    }
    // Header texts end before their sort buttons, which stay in their cells.
    QHeaderView *header = view->horizontalHeader();
    const int frame = view->frameWidth();
    for (int c = 0; c < 8; ++c) {
        const QRadioButton *button = form.rb[static_cast<size_t>(c)];
        const int left = frame + header->sectionViewportPosition(c);
        const int textRight = left + margin + header->fontMetrics().horizontalAdvance(grid.CellText(c, 0));
        EXPECT_LT(textRight, button->x()) << "header " << c;
        EXPECT_GE(button->x(), left) << "header " << c;
        EXPECT_LE(button->geometry().right(), left + header->sectionSize(c) - 1) << "header " << c;
        EXPECT_LE(button->geometry().bottom(), frame + header->height() - 1) << "header " << c;
        EXPECT_LE(header->fontMetrics().height() + 2, header->height()) << "header " << c;
    }

    // Every status panel shows its whole text and lies inside the bar.
    for (int i = 0; i < 9; ++i) {
        QLabel *panel = form.Panel(i);
        EXPECT_FALSE(panel->text().isEmpty()) << "panel " << i;
        ExpectControlTextFits(panel);
        EXPECT_LE(panel->geometry().right(), form.StatusBar1->width() - 1) << "panel " << i;
    }    ExpectInkClearOfEdges(form);
}

// A dialog as it is shown: every text inside its control, every control
// inside the dialog or its group.
void ExpectDialogTextFits(QDialog &dialog) {
    dialog.show();
    QApplication::processEvents();
    for (QWidget *w : dialog.findChildren<QWidget *>()) {
        if (w->isWindow() || w->window() != &dialog || !w->isVisible()) continue;
        ExpectControlTextFits(w);
        QWidget *parent = w->parentWidget();
        if (parent != &dialog && !qobject_cast<QGroupBox *>(parent)) continue;
        EXPECT_TRUE(parent->rect().contains(w->geometry()))
            << Name(w) << " reaches outside " << Name(parent) << " of " << dialog.windowTitle().toStdString();
    }
    dialog.hide();
}

void ExpectEveryDialogTextFits(TProgram &program) {
    for (QDialog *dialog : std::initializer_list<QDialog *>{program.Form2, program.Form3, program.Form4})
        ExpectDialogTextFits(*dialog);
    THamlibDialog hamlib(program.Form1.get());
    hamlib.SetSettings(THamlibSettings{});
    ExpectDialogTextFits(hamlib);
    // The schedule sources, each with the longest failure the lists give.
    TForm1 &form = *program.Form1;
    form.SourceFailures.fill("2026-06-12 17:00 UTC: an HTML page instead of data");
    form.ShowScheduleSources();
    ExpectDialogTextFits(*form.SourcesDialog);
}

TEST_F(TextFitWindow, EveryTextFitsAtTheDesktopFont) {
    TForm1 &form = StartWithSeason();
    EXPECT_EQ(form.width(), form.Scale(TForm1::kWindowWidth));
    // The program's own icon, drawn from its SVG, at a desktop's icon size.
    EXPECT_FALSE(form.windowIcon().pixmap(48, 48).isNull());
    ExpectEveryTextFits(form);
    ExpectEveryDialogTextFits(*program);
    // Under a scale factor the window is that much larger on the screen.
    const double factor =
        qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble() : 1.0;
    EXPECT_DOUBLE_EQ(form.devicePixelRatio(), factor);
}

TEST_F(TextFitWindow, EveryTextFitsAtOneAndAHalfTimesTheFont) {
    QFont large = QApplication::font();
    large.setPointSizeF(large.pointSizeF() * 1.5);
    QApplication::setFont(large);
    TForm1 &form = StartWithSeason();
    EXPECT_NEAR(form.Scale.Ratio(), TDesignScale::ForFont(desktopFont_).Ratio() * 1.5, 0.15);
    ExpectEveryTextFits(form);
    ExpectEveryDialogTextFits(*program);
}

// WCAG relative luminance and contrast ratio.
double Luminance(const QColor &color) {
    auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const QColor rgb = color.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
}

double Contrast(const QColor &a, const QColor &b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette DarkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x2d, 0x2d, 0x30));
    p.setColor(QPalette::WindowText, QColor(0xe6, 0xe6, 0xe6));
    p.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    p.setColor(QPalette::AlternateBase, QColor(0x2d, 0x2d, 0x30));
    p.setColor(QPalette::Text, QColor(0xe6, 0xe6, 0xe6));
    p.setColor(QPalette::Button, QColor(0x3c, 0x3c, 0x40));
    p.setColor(QPalette::ButtonText, QColor(0xf0, 0xf0, 0xf0));
    p.setColor(QPalette::Highlight, QColor(0x26, 0x4f, 0x78));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, QColor(0x3c, 0x3c, 0x40));
    p.setColor(QPalette::ToolTipText, Qt::white);
    p.setColor(QPalette::PlaceholderText, QColor(0xb0, 0xb0, 0xb0));
    return p;
}

TEST_F(TextFitWindow, DarkPaletteLeavesEveryOtherTextReadable) {
    QApplication::setPalette(DarkPalette());
    TForm1 &form = StartWithSeason();
    auto expectReadable = [](const std::string &what, const QColor &text, const QColor &background) {
        EXPECT_GE(Contrast(text, background), 4.5) << what << ": " << text.name().toStdString() << " on "
                                                    << background.name().toStdString();
    };
    // Each control in the colours it paints its text with. Disabled controls
    // are greyed on purpose and left out, as contrast rules leave them out.
    for (QWidget *w : form.findChildren<QWidget *>()) {
        if (!IsShownControl(form, w) || !w->isEnabled()) continue;
        const QPalette &p = w->palette();
        if (qobject_cast<QLineEdit *>(w)) {
            const QColor background = w == form.Edit1 ? p.color(QPalette::Button) : p.color(QPalette::Base);
            expectReadable(Name(w), p.color(QPalette::Text), background);
        } else if (qobject_cast<QPushButton *>(w) || qobject_cast<QComboBox *>(w)) {
            expectReadable(Name(w), p.color(QPalette::ButtonText), p.color(QPalette::Button));
        } else if (qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w) || qobject_cast<QGroupBox *>(w)) {
            expectReadable(Name(w), p.color(w->foregroundRole()), p.color(w->backgroundRole()));
        }
    }
    // Status panels, the rated ones on their rating colours, and the level box.
    for (int i = 0; i < 9; ++i) {
        const QPalette &p = form.Panel(i)->palette();
        expectReadable("panel " + std::to_string(i), p.color(QPalette::WindowText), p.color(QPalette::Window));
    }
    form.gbsm->show();
    for (QWidget *w : {static_cast<QWidget *>(form.gbsm), static_cast<QWidget *>(form.lblsm)})
        expectReadable(Name(w), w->palette().color(w->foregroundRole()), w->palette().color(QPalette::Window));
    // The grid's header and its rows without a schedule colour.
    for (bool fixed : {true, false}) {
        const TCellColors pair = CellColorsFor(false, fixed, TRowMark::None, form.Settings.Colors);
        expectReadable(fixed ? "grid header" : "unmarked row", ToQColor(pair.Text), ToQColor(pair.Background));
    }
}

} // namespace
} // namespace drmq::test
