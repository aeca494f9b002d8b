// Reception log, signal-level sampling and the keyboard shortcuts.
#include "app/Form1.h"

#include "app/RadioGroup.h"
#include "core/Cp1252.h"
#include "core/RunErrors.h"
#include "logging/AttentionDialog.h"
#include "logging/DecoderSequences.h"
#include "logging/LevelChartWindow.h"
#include "logging/SignalLevel.h"
#include "schedule/ScheduleGridModel.h"
#include "schedule/StationOnAir.h"

#include <algorithm>

namespace drmq {

namespace {
const char *const kLogFileName = "DRMQuodra.log";
constexpr int kFiveKhzStepIndex = 2;

constexpr Qt::KeyboardModifiers kHeldKeys =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// Exactly these modifier keys and no mouse button are held.
bool Exactly(Qt::KeyboardModifiers held, Qt::MouseButtons buttons, Qt::KeyboardModifiers wanted) {
    return (held & kHeldKeys) == wanted && buttons == Qt::NoButton;
}
} // namespace

void TForm1::Button3Click() {
    const bool decoder = DecoderReachable();
    TDecoderOutcome started = TDecoderOutcome::NothingToSend;
    const bool fhg = rbswr->ItemIndex() == dcFhG;
    if (decoder && fhg) {
        const TActionGate::THold sequence(Gate);
        started = FhGStartLog(Edit1->text(), DecoderControl);
    }
    ReportDecoderOutcome(started, FhGWindowTitle());
    // A stop goes to the FhG decoder only after a start that reached it: on
    // its own, the stop's key would switch the decoder's log on.
    DecoderLogStarted = started == TDecoderOutcome::Told;
    // Starts the clock of the log and resets its accumulators.
    ReceptionLog.Begin();
    if (decoder && fhg) ActivateProgramWindow(DecoderControl);
    // Dream is told on the way; the program's log does not wait for it.
    if (decoder && rbswr->ItemIndex() == dcDream) {
        DreamLog.Request(true);
        DreamReadTimer.start();
    }
    LogRunning = true;
    if (cbrxl->isChecked() && ReportsSignalLevel(SelectedModel())) {
        ReceptionLog.OpenFile(kLogFileName, ToCp1252(Edit1->text()), ToCp1252(cbrx->currentText()));
    }
    Button3->setEnabled(false);
    Button4->setEnabled(true);
}

void TForm1::Button4Click() {
    const bool decoder = DecoderReachable();
    const bool fhg = rbswr->ItemIndex() == dcFhG;
    if (decoder && fhg && DecoderLogStarted) {
        const TActionGate::THold sequence(Gate);
        ReportDecoderOutcome(FhGStopLog(DecoderControl), FhGWindowTitle());
    }
    // Dream's log is stopped whoever started it: its files tell whether it runs.
    if (decoder && rbswr->ItemIndex() == dcDream) DreamLog.Request(false);
    // The chart gets Dream's last minutes.
    if (DreamReadTimer.isActive()) ReadDreamLog();
    DreamReadTimer.stop();
    LogRunning = false;
    Button3->setEnabled(true);
    Button4->setEnabled(false);
    if (decoder && fhg) ActivateProgramWindow(DecoderControl);
    ReceptionLog.Finish();
}

void TForm1::ReadSignalLevel() {
    if (Link) Link->RequestLevel();
}

void TForm1::LogTick() {
    const std::uint16_t minutes = ReceptionLog.UpdateMinuteIndex();
    SetPanelText(1, "Logged: " + QString::number(minutes) + " min");
    // The reading counts once the tick's request has reached the receiver;
    // while the link is lost there is no reading to sample.
    auto sample = [this] {
        if (LogRunning && cbrxl->isChecked() && ReceptionLog.LogFileOpen() && !LinkState.Lost())
            ReceptionLog.Sample(Rxl);
    };
    if (Link && LinkUp()) Link->AfterRequests(sample);
    else sample();
}

void TForm1::CloseLogOnExit() {
    // The block in the file gets its closing lines; the decoder keeps logging.
    ReceptionLog.Finish();
}

void TForm1::ShowLevelChart() {
    if (!LevelChart) {
        TLevelChartSources sources;
        sources.LogPath = kLogFileName;
        sources.Live = &ReceptionLog.Live();
        sources.Dream = &DreamLevels;
        sources.StationOf = [this](const TLevelBlock &block) {
            return FromCp1252(StationOnAir(ScheduleGrid().Table(), block.FrequencyKhz, block.StartUtc));
        };
        LevelChart = std::make_unique<TLevelChartWindow>(std::move(sources), this);
    }
    LevelChart->Reload();
    if (rbswr->ItemIndex() == dcDream && DecoderReachable()) ReadDreamLog();
    LevelChart->show();
    LevelChart->raise();
    LevelChart->activateWindow();
}

int TForm1::AskAttention() {
    if (AttentionAnswer) return AttentionAnswer();
    return Form4->Ask();
}

bool TForm1::FormShortCut(int key, Qt::KeyboardModifiers) {
    // The arrows always tune, even in a text field; the key is handled
    // whatever the step does, and the caret in the frequency field stays
    // where it was.
    if (key != Qt::Key_Right && key != Qt::Key_Left) return false;
    const int caret = Edit1->cursorPosition();
    Guard(TErrorSource::Action, [&] {
        if (key == Qt::Key_Right) Button2Click();
        else Button1Click();
    });
    Edit1->setCursorPosition(std::min(caret, static_cast<int>(Edit1->text().size())));
    return true;
}

void TForm1::FiveKhzStep(void (TForm1::*stepButtonClick)()) {
    const int remembered = cbstep->currentIndex();
    struct RestoreStep {
        QComboBox *list;
        int index;
        ~RestoreStep() { list->setCurrentIndex(index); }
    } restore{cbstep, remembered};
    cbstep->setCurrentIndex(kFiveKhzStepIndex);
    (this->*stepButtonClick)();
}

void TForm1::FormKeyDown(int key, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    if (key == Qt::Key_B && Exactly(modifiers, buttons, Qt::ControlModifier | Qt::AltModifier))
        ShowMessage("Shortcut gedrückt");
    if (!Exactly(modifiers, buttons, Qt::AltModifier)) return;
    switch (key) {
    case Qt::Key_L:
        if (LogRunning) Button4Click();
        else Button3Click();
        break;
    case Qt::Key_S:
        // The box's change runs checkaorClick.
        checkaor->setChecked(!checkaor->isChecked());
        break;
    case Qt::Key_V:
        if (SpeakBar->isEnabled()) SpeakBar->setFocus(Qt::ShortcutFocusReason);
        break;
    case Qt::Key_A:
        if (VolBar->isEnabled()) VolBar->setFocus(Qt::ShortcutFocusReason);
        break;
    // The same as the right button on the presets box and on the grid.
    case Qt::Key_M:
        GroupBox1MouseDown(Qt::RightButton);
        break;
    case Qt::Key_C:
        StringGrid1MouseDown(Qt::RightButton);
        break;
    case Qt::Key_H:
        if (btnhamlib->isEnabled()) btnhamlibClick();
        break;
    case Qt::Key_X:
        FiveKhzStep(&TForm1::Button2Click);
        break;
    case Qt::Key_Y:
        FiveKhzStep(&TForm1::Button1Click);
        break;
    case Qt::Key_G:
        ShowLevelChart();
        break;
    case Qt::Key_U:
        ShowScheduleSources();
        break;
    default:
        // Alt+1 .. Alt+8 of the main keyboard press the presets Mem1 .. Mem8.
        if (key >= Qt::Key_1 && key <= Qt::Key_8 && !(modifiers & Qt::KeypadModifier)) MemClick(key - Qt::Key_1);
        break;
    }
}

} // namespace drmq
