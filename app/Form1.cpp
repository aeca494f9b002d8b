#include "schedule/ScheduleSource.h"
#include "app/Form1.h"

#include "app/ProgramIcon.h"
#include "app/RadioGroup.h"
#include "core/AccessibleText.h"
#include "core/TypedLengthLimit.h"
#include "core/RunErrors.h"
#include "logging/LevelChartWindow.h"
#include "rig/ComPort.h"
#include "rig/ReceiverModel.h"
#include "rig/ShareServer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QResizeEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <utility>
#include <unistd.h>

namespace drmq {

namespace {
bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

bool MovesGridRow(int key) {
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
}

const char *const kCaption = "DRM Quodra 3.2 by R. Vandelm";

const QStringList kBands = {"LW",  "MW",  "120m", "90m", "75m", "60m", "49m", "41m",
                            "31m", "25m", "22m",  "19m", "16m", "13m", "11m"};

QString TwoDigits(int v) {
    return QString::number(v).rightJustified(2, '0');
}
} // namespace

TForm1::TForm1(TForm1Options options) : options_(std::move(options)) {
    if (!options_.Clock) options_.Clock = std::make_shared<TSystemClock>();
    if (!options_.ShowErrorBox) {
        options_.ShowErrorBox = [this](const QString &text) {
            QMessageBox::critical(this, QApplication::applicationName(), text);
        };
    }
    if (!options_.ShowMessage) {
        options_.ShowMessage = [this](const QString &text) {
            QMessageBox::information(this, QApplication::applicationName(), text);
        };
    }
    ScheduleSources = ParseSourceKeys(kDefaultScheduleSources);
    bulletinUrl_ = kDefaultBulletinUrl;
    for (size_t i = 0; i < portPaths_.size(); ++i) portPaths_[i] = "/dev/ttyS" + std::to_string(i);
    ComPort1 = std::make_unique<TComPort>();
    ComPort1->SetResolver([this](const std::string &name) { return DevicePathOf(name); });
    // An error in the received-data action ends the port's event thread
    // silently; it is not shown.
    ComPort1->OnRxChar = [this](int count) { ComPort1RxChar(count); };
    ComPort1->OnLineLost = [this](const std::string &cause) { SerialLinkLost(cause); };

    setWindowTitle(kCaption);
    setWindowIcon(ProgramIcon());
    // The window keeps the desktop's font; its sizes follow that font.
    Scale = TDesignScale::ForFont(font());
    BuildControls();
    BuildStatusBar();
    ConnectHandlers();
    ConnectDreamReading();
    FormCreate();
    ScheduleNextTick();
}

TForm1::~TForm1() {
    // Ends the link's and the share's threads while the window can still take their events.
    Link.reset();
    Share.reset();
}

void TForm1::SetDialogs(TForm2 *form2, TForm3 *form3, TForm4 *form4) {
    Form2 = form2;
    Form3 = form3;
    Form4 = form4;
}

void TForm1::BuildControls() {
    auto *central = new QWidget(this);
    setCentralWidget(central);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    StringGrid1 = new QTableView(central);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->setAccessibleName("Schedule");

    // Schedule Settings and Presets, side by side below the grid.
    GroupBox2 = new QGroupBox("Schedule Settings", central);
    chkshowall = new QCheckBox("All", GroupBox2);
    chkshowall->setGeometry(6, 16, 40, 20);
    cblow = new QCheckBox("Low power", GroupBox2);
    cblow->setGeometry(48, 16, 80, 20);
    cblow->setToolTip("Hides stations with less than 5 kW power");
    chknext = new QCheckBox("Preview", GroupBox2);
    chknext->setGeometry(128, 16, 70, 20);

    for (int i = 0; i < 8; ++i) {
        rb[static_cast<size_t>(i)] = new QRadioButton(StringGrid1);
        rb[static_cast<size_t>(i)]->setObjectName(QString("rb%1").arg(i + 1));
        rb[static_cast<size_t>(i)]->setAccessibleName(QString("Sort by column %1").arg(i + 1));
    }
    rb[1]->setChecked(true);

    // The field lengths limit typing only: stored texts stay whole.
    Edit2 = new QLineEdit("99", central);
    Edit2->setValidator(new TTypedLengthLimit(3, Edit2));
    Edit2->setEnabled(false);
    Edit2->hide();

    GroupBox1 = new QGroupBox("Presets", central);
    GroupBox1->setToolTip("Right mouse click or ALT+M to edit presets");
    for (int i = 0; i < 10; ++i) {
        auto *button = new QPushButton("25775", i < 8 ? central : GroupBox1);
        button->setObjectName(QString("Mem%1").arg(i + 1));
        button->setToolTip(GroupBox1->toolTip());
        button->setEnabled(false);
        Mem[static_cast<size_t>(i)] = button;
    }

    // Receiver Control.
    GroupBox38 = new QGroupBox("Receiver Control", central);
    QFont stepFont = font();
    stepFont.setPixelSize(Scale(24));
    Button1 = new QPushButton("-", GroupBox38);
    Button1->setFont(stepFont);
    Button1->setGeometry(5, 16, 30, 32);
    Button1->setEnabled(false);
    Button1->setAccessibleName("Step down");
    Edit1 = new QLineEdit("25755", GroupBox38);
    // Twice the window's type, as in the design.
    QFont bigFont = font();
    bigFont.setPointSizeF(font().pointSizeF() * 2);
    bigFont.setBold(true);
    Edit1->setFont(bigFont);
    Edit1->setGeometry(37, 16, 90, 32);
    Edit1->setEnabled(false);
    Edit1->setAccessibleDescription("Frequency in kHz");
    Edit1->setStyleSheet("QLineEdit { background-color: palette(button); }");
    Button2 = new QPushButton("+", GroupBox38);
    Button2->setFont(stepFont);
    Button2->setGeometry(129, 16, 30, 32);
    Button2->setEnabled(false);
    Button2->setAccessibleName("Step up");

    cbband = new QComboBox(GroupBox38);
    cbband->addItems(kBands);
    cbband->setCurrentIndex(-1);
    cbband->setPlaceholderText("Band");
    cbband->setMaxVisibleItems(16);
    cbband->setToolTip("Quick band select");
    cbband->setGeometry(5, 52, 75, 22);
    cbband->setEnabled(false);
    cbstep = new QComboBox(GroupBox38);
    cbstep->addItems({"10 kHz", "9 kHz", "5 kHz", "1 kHz"});
    cbstep->setCurrentIndex(2);
    cbstep->setGeometry(84, 52, 75, 22);
    cbstep->setEnabled(false);
    cbstep->setAccessibleDescription("Step");

    Button3 = new QPushButton("Start Log", GroupBox38);
    Button3->setToolTip("Starts log with shown frequency");
    Button3->setGeometry(5, 78, 75, 22);
    Button4 = new QPushButton("Stop Log", GroupBox38);
    Button4->setGeometry(84, 78, 75, 22);
    Button4->setEnabled(false);

    cbatt = new QComboBox(GroupBox38);
    cbatt->setToolTip("RX attenuation");
    cbatt->setGeometry(165, 16, 80, 22);
    cbatt->setEnabled(false);
    cbfilter = new QComboBox(GroupBox38);
    cbfilter->setToolTip("Filter Bandwidth");
    cbfilter->setGeometry(165, 42, 80, 22);
    cbfilter->setEnabled(false);

    auto makeBar = [&](const QString &hint, int x) {
        auto *bar = new QSlider(Qt::Vertical, GroupBox38);
        // Position 0 at the top, the maximum (the quietest level) at the
        // bottom; Up and PgUp move the handle up, towards 0.
        bar->setInvertedAppearance(true);
        bar->setInvertedControls(true);
        bar->setRange(0, 100);
        bar->setValue(100);
        bar->setSingleStep(5);
        bar->setPageStep(75);
        bar->setTickInterval(20);
        bar->setTickPosition(QSlider::TicksRight);
        bar->setToolTip(hint);
        bar->setAccessibleName(hint);
        bar->setGeometry(x, 12, 26, 88);
        bar->setEnabled(false);
        return bar;
    };
    VolBar = makeBar("AUX Volume", 250);
    SpeakBar = makeBar("Speaker Volume", 278);

    gbsm = new QGroupBox("dBuV", GroupBox38);
    gbsm->setGeometry(308, 10, 80, 52);
    lblsm = new QLabel("-68", gbsm);
    lblsm->setGeometry(6, 14, 70, 18);
    lbldwtlif = new QLabel("LIF:12000", gbsm);
    lbldwtlif->setGeometry(6, 32, 70, 16);
    // Only the DWT connect shows it.
    lbldwtlif->hide();
    gbsm->hide();

    dwtmod = new TRadioGroup("", {"DRM", "AM", "FM"}, GroupBox38);
    dwtmod->setAccessibleName("DWT mode");
    dwtmod->SetItemIndex(0);
    dwtmod->setGeometry(392, 8, 72, 62);
    dwtmod->setEnabled(false);
    dwtmod->hide();
    cmbant = new QComboBox(GroupBox38);
    cmbant->addItems({"Loop", "Wire"});
    cmbant->setCurrentIndex(1);
    cmbant->setAccessibleDescription("DWT antenna");
    cmbant->setGeometry(308, 64, 80, 22);
    cmbant->setEnabled(false);
    cmbant->hide();
    cmbdwtatt = new QComboBox(GroupBox38);
    cmbdwtatt->addItems({"DX", "Local"});
    cmbdwtatt->setCurrentIndex(0);
    cmbdwtatt->setAccessibleDescription("DWT attenuation");
    cmbdwtatt->setGeometry(392, 72, 72, 22);
    cmbdwtatt->setEnabled(false);
    cmbdwtatt->hide();

    Edit3 = new QLineEdit("454.32", GroupBox38);
    Edit3->setValidator(new TTypedLengthLimit(6, Edit3));
    Edit3->setToolTip("IF value in khz IF1");
    Edit3->setGeometry(165, 68, 40, 22);
    Edit3->hide();
    Edit4 = new QLineEdit("50000", GroupBox38);
    Edit4->setValidator(new TTypedLengthLimit(5, Edit4));
    Edit4->setToolTip("Oscillator frequency XTAL");
    Edit4->setGeometry(207, 68, 40, 22);
    Edit4->hide();

    OffsetCheck = new QCheckBox("1st IF:", GroupBox38);
    OffsetCheck->setChecked(true);
    OffsetCheck->setGeometry(308, 64, 56, 20);
    OffsetCheck->setEnabled(false);
    OffsetCheck->hide();
    OffsetText = new QLineEdit("45000", GroupBox38);
    OffsetText->setValidator(new TTypedLengthLimit(5, OffsetText));
    OffsetText->setGeometry(364, 64, 48, 22);
    OffsetText->setEnabled(false);
    OffsetText->hide();
    Label1 = new QLabel("kHz", GroupBox38);
    Label1->setGeometry(414, 66, 30, 18);
    Label1->hide();

    Multiplikator = new QComboBox(GroupBox38);
    Multiplikator->addItems({"--", "4x", "5x", "6x", "7x", "8x"});
    Multiplikator->setCurrentIndex(5);
    Multiplikator->setToolTip("Multiplyer");
    Multiplikator->setGeometry(392, 8, 72, 22);
    Multiplikator->setEnabled(false);
    Multiplikator->hide();
    Chargepump = new QComboBox(GroupBox38);
    Chargepump->addItems({"75µA", "100µA", "125µA", "150µA"});
    Chargepump->setCurrentIndex(3);
    Chargepump->setToolTip("Charge pump current");
    Chargepump->setGeometry(392, 32, 72, 22);
    Chargepump->setEnabled(false);
    Chargepump->hide();
    CFR1Button = new QPushButton("CFR1", GroupBox38);
    CFR1Button->setGeometry(308, 86, 40, 18);
    CFR2Button = new QPushButton("CFR2", GroupBox38);
    CFR2Button->setGeometry(350, 86, 40, 18);
    InitButton = new QPushButton("INIT", GroupBox38);
    InitButton->setToolTip("Initialise DRT1 settings");
    InitButton->setGeometry(392, 56, 72, 18);
    for (auto *b : {CFR1Button, CFR2Button, InitButton}) {
        b->setEnabled(false);
        b->hide();
    }

    // Settings.
    GroupBox29 = new QGroupBox("Settings", central);
    checkaor = new QCheckBox("Connect", GroupBox29);
    checkaor->setToolTip("Connect receiver for remote control");
    checkaor->setGeometry(6, 16, 70, 20);
    cbcom = new QComboBox(GroupBox29);
    for (int i = 1; i <= 9; ++i) cbcom->addItem(QString("COM%1").arg(i));
    cbcom->setCurrentIndex(1);
    cbcom->setToolTip("COM Port");
    // The port names are short: the Hamlib button shares their row, so that
    // the receiver list below has the whole width for its longest names.
    cbcom->setGeometry(78, 16, 58, 22);
    cbrx = new QComboBox(GroupBox29);
    for (int i = 0; i < ReceiverListCount(); ++i) cbrx->addItem(ReceiverAtListIndex(i).ListText);
    cbrx->setCurrentIndex(0);
    cbrx->setMaxVisibleItems(20);
    cbrx->setToolTip("Receiver");
    cbrx->setGeometry(78, 40, 78, 22);
    btnhamlib = new QToolButton(GroupBox29);
    btnhamlib->setText("…");
    btnhamlib->setToolTip("Hamlib settings (Alt+H)");
    btnhamlib->setAccessibleName("Hamlib settings");
    btnhamlib->setGeometry(136, 16, 20, 22);
    btnhamlib->setEnabled(false);
    chkupdate = new QCheckBox("Update", GroupBox29);
    chkupdate->setChecked(true);
    chkupdate->setGeometry(6, 40, 70, 20);
    cbrxl = new QCheckBox("FSTLog", GroupBox29);
    cbrxl->setChecked(true);
    cbrxl->setGeometry(6, 62, 70, 20);
    chkshare = new QCheckBox("Share", GroupBox29);
    chkshare->setAccessibleName("Share receiver");
    chkshare->setGeometry(6, 84, 70, 18);
    rbswr = new TRadioGroup("", {"FhG", "Dream"}, GroupBox29);
    rbswr->setAccessibleName("Software decoder");
    rbswr->SetItemIndex(0);
    rbswr->setGeometry(78, 62, 78, 40);

    for (QLineEdit *field : {Edit1, Edit2, Edit3, Edit4, OffsetText}) NameAfterText(field);
    const std::pair<QComboBox *, QString> lists[] = {
        {cbband, cbband->placeholderText()}, {cbstep, "Step"},          {cbatt, cbatt->toolTip()},
        {cbfilter, cbfilter->toolTip()},     {cmbant, "DWT antenna"},   {cmbdwtatt, "DWT attenuation"},
        {Multiplikator, Multiplikator->toolTip()}, {Chargepump, Chargepump->toolTip()},
        {cbcom, cbcom->toolTip()},           {cbrx, cbrx->toolTip()}};
    for (const auto &[list, nameWhenEmpty] : lists) NameAfterChoice(list, nameWhenEmpty);

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    // The caption changes on the second, not up to a twentieth of it off.
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer2 = new QTimer(this);
    Timer2->setInterval(5000);

    ScaleControlsToFont();
    setMinimumWidth(WindowWidth());
    setMaximumWidth(WindowWidth());
}

void TForm1::BuildStatusBar() {
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    setStatusBar(StatusBar1);
    const char *texts[9] = {"Update: off", "No Logging", "", "", "", "", "", "", ""};
    for (int i = 0; i < 9; ++i) {
        auto *label = new QLabel(texts[i], StatusBar1);
        label->setAlignment(i == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // A screen reader reads the panel's text; the description says which panel it is.
        label->setAccessibleDescription(QString("Status panel %1").arg(i));
        StatusBar1->addWidget(label);
        panels_[static_cast<size_t>(i)] = label;
    }
    // Panels 5-7 are painted by the program: their background shows the
    // space-weather level, the text stays in the label, 5 pixels right of and
    // 1 below the inner corner: the margin moves it 1 each way, the indent 4
    // more to the right. Without a vertical alignment flag the indent leaves
    // the top alone.
    for (int i = 5; i <= 7; ++i) {
        QLabel *label = panels_[static_cast<size_t>(i)];
        label->setAutoFillBackground(true);
        label->setAlignment(Qt::AlignLeft);
        label->setMargin(1);
        label->setIndent(4);
    }
    panels_[1]->setToolTip("Double-click or Alt+G: level chart");
    panels_[0]->setToolTip("Right-click, Enter or Alt+U: schedule sources");
    // Reached with Tab, so that Enter opens the sources from the keyboard too.
    panels_[0]->setFocusPolicy(Qt::StrongFocus);
    FitStatusPanels();
}

void TForm1::SetPanelText(int index, const QString &text) {
    Panel(index)->setText(text);
    if (PanelWidthFor(index, text) > Panel(index)->width()) FitStatusPanels();
    if (index >= 5 && index <= 7) StatusBar1DrawPanel(index);
}

void TForm1::ConnectHandlers() {
    auto action = [this](void (TForm1::*handler)()) {
        return [this, handler] {
            Gate.Run([this, handler] { Guard(TErrorSource::Action, [&] { (this->*handler)(); }); },
                     qobject_cast<QWidget *>(sender()));
        };
    };
    connect(Timer1, &QTimer::timeout, this, [this] {
        // The next tick is due first: a box this tick opens must not stop the clock.
        const bool due = SecondTicks.Due(UtcNow());
        ScheduleNextTick();
        if (due) Gate.RunMerged(Timer1, [this] { Guard(TErrorSource::Clock, [&] { Timer1Timer(); }); });
    });
    connect(Timer2, &QTimer::timeout, this, [this] {
        Gate.RunMerged(Timer2, [this] { Guard(TErrorSource::Clock, [&] { Timer2Timer(); }); });
    });

    connect(chkshowall, &QCheckBox::toggled, this, action(&TForm1::chkshowallClick));
    connect(cblow, &QCheckBox::toggled, this, action(&TForm1::cblowClick));
    connect(chknext, &QCheckBox::toggled, this, action(&TForm1::chknextClick));
    for (int i = 0; i < 8; ++i) {
        connect(rb[static_cast<size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) Gate.Run([this, i] { Guard(TErrorSource::Action, [&] { rbClick(i); }); });
        });
    }
    connect(StringGrid1, &QTableView::clicked, this, action(&TForm1::StringGrid1Click));

    connect(chkupdate, &QCheckBox::toggled, this, action(&TForm1::chkupdateClick));
    // Connect acts on every change of the box: a click, Alt+S, an accessibility
    // tool's toggle.
    connect(checkaor, &QCheckBox::toggled, this, action(&TForm1::checkaorClick));
    connect(chkshare, &QCheckBox::toggled, this, action(&TForm1::chkshareClick));
    connect(Edit1, &QLineEdit::textChanged, this, [this] { PublishShare(); });
    connect(btnhamlib, &QToolButton::clicked, this, action(&TForm1::btnhamlibClick));
    connect(cbrx, &QComboBox::currentIndexChanged, this, [this] { UpdateHamlibButton(); });
    connect(Edit3, &QLineEdit::textChanged, this, action(&TForm1::Edit3Change));
    connect(Edit4, &QLineEdit::textChanged, this, action(&TForm1::Edit4Change));
    connect(OffsetText, &QLineEdit::textChanged, this, action(&TForm1::OffsetTextChange));
    connect(OffsetCheck, &QCheckBox::toggled, this, action(&TForm1::OffsetCheckClick));
    connect(CFR1Button, &QPushButton::clicked, this, action(&TForm1::CFR1ButtonClick));
    connect(CFR2Button, &QPushButton::clicked, this, action(&TForm1::CFR2ButtonClick));
    connect(InitButton, &QPushButton::clicked, this, action(&TForm1::InitButtonClick));

    connect(cbatt, &QComboBox::activated, this, action(&TForm1::cbattChange));
    connect(cbfilter, &QComboBox::activated, this, action(&TForm1::cbfilterChange));
    connect(VolBar, &QSlider::valueChanged, this, action(&TForm1::VolBarChange));
    connect(SpeakBar, &QSlider::valueChanged, this, action(&TForm1::SpeakBarChange));
    connect(dwtmod, &TRadioGroup::ItemChanged, this, action(&TForm1::dwtmodClick));
    connect(cmbant, &QComboBox::activated, this, action(&TForm1::cmbantChange));
    connect(cmbdwtatt, &QComboBox::activated, this, action(&TForm1::cmbdwtattChange));
    connect(Button1, &QPushButton::clicked, this, action(&TForm1::Button1Click));
    connect(Button2, &QPushButton::clicked, this, action(&TForm1::Button2Click));
    connect(cbband, &QComboBox::activated, this, action(&TForm1::cbbandSelect));
    for (int i = 0; i < 10; ++i) {
        connect(Mem[static_cast<size_t>(i)], &QPushButton::clicked, this,
                [this, i] {
                    Gate.Run([this, i] { Guard(TErrorSource::Action, [&] { MemClick(i); }); }, Mem[static_cast<size_t>(i)]);
                });
    }
    connect(Button3, &QPushButton::clicked, this, action(&TForm1::Button3Click));
    connect(Button4, &QPushButton::clicked, this, action(&TForm1::Button4Click));

    // The window sees every key first, and the right button and the wheel
    // wherever they happen. The application-wide filter already sees the
    // presses on GroupBox1 and the grid; a second filter on those widgets
    // would run their handlers twice.
    qApp->installEventFilter(this);
}

bool TForm1::IsGridSurface(QObject *watched) const {
    // The rows, and the header row with its sort buttons.
    QHeaderView *header = StringGrid1->horizontalHeader();
    if (watched == StringGrid1->viewport() || watched == header || watched == header->viewport()) return true;
    return std::find(rb.begin(), rb.end(), watched) != rb.end();
}

bool TForm1::eventFilter(QObject *watched, QEvent *event) {
    auto isOurs = [this](QObject *o) {
        auto *w = qobject_cast<QWidget *>(o);
        return w && (w == this || isAncestorOf(w));
    };
    // The user's keys, clicks and wheel turns during a decoder sequence are
    // replayed once it has ended.
    if (Gate.Held() && IsUserInput(event->type()) && isOurs(watched)) {
        std::shared_ptr<QEvent> copy(event->clone());
        Gate.Run([target = QPointer<QObject>(watched), copy] {
            if (target) QCoreApplication::sendEvent(target, copy.get());
        });
        return true;
    }
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : this;
        if (!isOurs(watched) || watched != target) break;
        auto *key = static_cast<QKeyEvent *>(event);
        if (event->type() == QEvent::ShortcutOverride) {
            // Let arrow keys reach us as key presses even in text fields.
            break;
        }
        bool handled = false;
        Guard(TErrorSource::Action, [&] { handled = FormShortCut(key->key(), key->modifiers()); });
        if (handled) return true;
        if (watched == Panel(0) && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            Guard(TErrorSource::Action, [&] { ShowScheduleSources(); });
            return true;
        }
        Guard(TErrorSource::Action,
              [&] { FormKeyDown(key->key(), key->modifiers(), QApplication::mouseButtons()); });
        // Alt with a character key is a window command: as on Windows, no
        // control types it (Alt+9 must not put a 9 into the frequency field).
        const Qt::KeyboardModifiers chord = key->modifiers() & (Qt::AltModifier | Qt::ControlModifier);
        if (chord == Qt::AltModifier && !key->text().isEmpty() && key->text().at(0).isPrint()) return true;
        if (watched == Edit1) Guard(TErrorSource::Action, [&] { Edit1KeyPress(key->key()); });
        if (watched == StringGrid1) {
            // Only the arrow and page keys move the grid's row (a typed
            // character would jump to a row starting with it); Tab leaves
            // the grid. Held modifiers would move the row without selecting it.
            if (!MovesGridRow(key->key())) return key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab;
            key->setModifiers(Qt::NoModifier);
            // A row chosen with the keys counts like a click on it, once the
            // grid has moved its current row.
            const int before = CurrentGridRow();
            QTimer::singleShot(0, this, [this, before] {
                if (CurrentGridRow() != before) Guard(TErrorSource::Action, [&] { StringGrid1Click(); });
            });
        }
        break;
    }
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (watched == GroupBox1) Guard(TErrorSource::Action, [&] { GroupBox1MouseDown(mouse->button()); });
        else if (watched == Panel(0) && mouse->button() == Qt::RightButton)
            Guard(TErrorSource::Action, [&] { ShowScheduleSources(); });
        else if (IsGridSurface(watched))
            Guard(TErrorSource::Action, [&] { StringGrid1MouseDown(mouse->button()); });
        break;
    }
    case QEvent::MouseButtonDblClick:
        if (watched == Panel(1)) Guard(TErrorSource::Action, [&] { ShowLevelChart(); });
        break;
    case QEvent::Wheel: {
        // The wheel tunes only while the main window is the active window.
        if (!isOurs(watched) || QApplication::activeModalWidget() || !isActiveWindow()) break;
        auto *wheel = static_cast<QWheelEvent *>(event);
        Guard(TErrorSource::Action, [&] { FormMouseWheel(wheel->angleDelta().y()); });
        return true;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::FormCreate() {
    // Steps 1-8.
    PortUsed = false;
    RememberedMinute = "61";
    PromptArmed = true;
    gbsm->setTitle("[dBµV]");
    // Named by its own caption, not the surrounding group's.
    gbsm->setAccessibleName(gbsm->title());

    bool startupFailed = false;
    auto step = [&](const std::function<void()> &action) {
        if (startupFailed) return;
        try {
            action();
        } catch (const std::exception &e) {
            startupFailed = true;
            ShowError(TErrorSource::Action, QString::fromStdString(e.what()));
        }
    };
    step([&] { ReadSettingsFirstGroup(); });
    ShowUpdateHint();
    const bool update = !startupFailed && chkupdate->isChecked();
    step([&] { SetupGrid(); });
    step([&] { WheelScrollLines = QApplication::wheelScrollLines(); });
    step([&] {
        // The schedule must be there before anything else of this step runs.
        if (::access(ProgramFile(kScheduleFile).c_str(), R_OK) != 0) RaiseFileErrorFromErrno(errno);
        ParseBulletinFile();
        LoadSchedule();
    });
    // The filter and sort settings are restored even after a failed step, so
    // that closing the window does not overwrite them with design defaults.
    Guard(TErrorSource::Action, [&] { ReadSettingsSecondGroup(); });
    // The window shows with the files on disk; a new schedule replaces them
    // when it arrives.
    if (update) StartDownloads();
}

void TForm1::Timer1Timer() {
    const DateTimeParts now = DecodeDateTime(UtcNow());
    const QString minutes = TwoDigits(now.minute);
    setWindowTitle(QString(kCaption) + QString(18, ' ') + "UTC: " + TwoDigits(now.hour) + ":" + minutes + ":" +
                   TwoDigits(now.second));
    if (minutes != RememberedMinute) DRMSchedule();
    RememberedMinute = minutes;
    RetryLostLink();
    if (LinkUp()) ReadSignalLevel();
    if (LogRunning) LogTick();
    PublishShare();
}

void TForm1::ScheduleNextTick() {
    if (!options_.StartTimers) return;
    // Aimed just after the next UTC second begins; a firing that comes early
    // waits again for the rest.
    Timer1->start(TSecondTicks::MsToNextSecond(UtcNow()));
}

void TForm1::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TForm1::closeEvent(QCloseEvent *event) {
    FormClose();
    QMainWindow::closeEvent(event);
}

void TForm1::FormClose() {
    if (closed_) return;
    closed_ = true;
    // Nothing half-fetched is written after the window has gone.
    Downloads.Cancel();
    Timer1->stop();
    Timer2->stop();
    // The settings come first: a failure to idle the receiver cannot lose them.
    Guard(TErrorSource::Action, [&] { WriteSettings(); });
    Guard(TErrorSource::Action, [&] { IdleReceiver(); });
    Guard(TErrorSource::Action, [&] { ReleaseLibraries(); });
    Guard(TErrorSource::Action, [&] { CloseLogOnExit(); });
}

void TForm1::Guard(TErrorSource source, const std::function<void()> &action) {
    try {
        action();
    } catch (const EComPort &e) {
        if (!LinkFailureHandled(e)) ShowError(source, QString::fromStdString(e.what()));
    } catch (const std::exception &e) {
        ShowError(source, QString::fromStdString(e.what()));
    }
}

void TForm1::ShowError(TErrorSource source, const QString &text) {
    // A fault that repeats every second must not stack one box per tick.
    if (errorBoxOpen_ && source != TErrorSource::Action) return;
    const bool wasOpen = errorBoxOpen_;
    errorBoxOpen_ = true;
    options_.ShowErrorBox(text);
    errorBoxOpen_ = wasOpen;
}

void TForm1::ShowMessage(const QString &text) {
    options_.ShowMessage(text);
}

} // namespace drmq
