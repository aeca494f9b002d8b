#include "logging/DreamLogSwitch.h"

#include <QTimer>

namespace drmq {

namespace {
const char *const kMainWindow = "Dream";
const char *const kEvaluationWindow = "System Evaluation";
// Plain Alt with a small letter: a capital would add Shift, which Dream's
// mnemonics do not answer.
const char *const kOpenEvaluationKeys = "%e";
const char *const kLogToFileKeys = "%l";
constexpr int kEvaluationWaitMs = 2000;
constexpr int kEvaluationPollMs = 50;
constexpr int kSettleMs = 100;
constexpr int kConfirmWaitMs = 5000;
constexpr int kConfirmPollMs = 200;
constexpr bool kWait = true;
} // namespace

TDreamLogSwitch::TDreamLogSwitch(const TDecoderControl &control,
                                 std::function<void(const std::function<void()> &)> held,
                                 std::function<void(const TDone &)> done, QObject *parent)
    : QObject(parent), control_(control), held_(std::move(held)), done_(std::move(done)) {}

void TDreamLogSwitch::Request(bool running) {
    if (busy_) {
        next_ = running;
        return;
    }
    Begin(running);
}

bool TDreamLogSwitch::InWantedState(TDreamLogState state) const {
    return state == (wanted_ ? TDreamLogState::Running : TDreamLogState::Stopped);
}

TFoundWindow TDreamLogSwitch::FindDream(const TDecoderControl &control) {
    if (!control.find) return {};
    if (TFoundWindow evaluation = control.find(kEvaluationWindow); evaluation.Found) return evaluation;
    TFoundWindow main = control.find(kMainWindow);
    if (main.Title != kMainWindow) return {};
    return main;
}

void TDreamLogSwitch::Begin(bool running) {
    busy_ = true;
    wanted_ = running;
    const TFoundWindow window = FindDream(control_);
    if (!window.Found) return Finish(TResult::DreamMissing);
    const bool evaluationOpen = window.Title != kMainWindow;
    folder_ = window.Folder;
    const TDreamLogState state = StateOf(folder_);
    stateKnown_ = state != TDreamLogState::Unknown;
    // Alt+L toggles: it goes out only when the log must change.
    if (InWantedState(state)) return Finish(TResult::Confirmed);
    if (!stateKnown_ && !wanted_ && !blindlyStarted_) return Finish(TResult::Unconfirmed);
    if (evaluationOpen) return Toggle();
    // Into the main window goes Alt+E and nothing else: its Alt+L opens
    // another window, its Alt+X quits Dream.
    held_([this] {
        if (control_.activate(kMainWindow)) control_.keys(kOpenEvaluationKeys, kWait);
    });
    waited_.start();
    After(kEvaluationPollMs, &TDreamLogSwitch::WaitForEvaluation);
}

void TDreamLogSwitch::WaitForEvaluation() {
    if (control_.find && control_.find(kEvaluationWindow).Found) return Toggle();
    if (waited_.elapsed() < kEvaluationWaitMs) return After(kEvaluationPollMs, &TDreamLogSwitch::WaitForEvaluation);
    held_([this] { ActivateProgramWindow(control_); });
    Finish(TResult::EvaluationMissing);
}

void TDreamLogSwitch::Toggle() {
    bool found = false;
    held_([&] { found = control_.activate(kEvaluationWindow); });
    if (found) return After(kSettleMs, &TDreamLogSwitch::SendToggle);
    held_([this] { ActivateProgramWindow(control_); });
    Finish(TResult::EvaluationMissing);
}

void TDreamLogSwitch::SendToggle() {
    bool sent = false;
    held_([&] {
        // Activated again: the listener may have clicked elsewhere meanwhile.
        if (control_.activate(kEvaluationWindow)) sent = control_.keys(kLogToFileKeys, kWait);
        ActivateProgramWindow(control_);
    });
    if (!sent) return Finish(TResult::EvaluationMissing);
    if (!stateKnown_) {
        blindlyStarted_ = wanted_;
        return Finish(TResult::Unconfirmed);
    }
    waited_.start();
    After(kConfirmPollMs, &TDreamLogSwitch::Confirm);
}

void TDreamLogSwitch::Confirm() {
    if (InWantedState(StateOf(folder_))) return Finish(TResult::Confirmed);
    if (waited_.elapsed() < kConfirmWaitMs) return After(kConfirmPollMs, &TDreamLogSwitch::Confirm);
    Finish(TResult::NotFollowed);
}

void TDreamLogSwitch::After(int ms, void (TDreamLogSwitch::*step)()) {
    QTimer::singleShot(ms, this, [this, step] { (this->*step)(); });
}

void TDreamLogSwitch::Finish(TResult result) {
    busy_ = false;
    if (result == TResult::Confirmed) blindlyStarted_ = false;
    if (done_) done_({wanted_, result, folder_});
    if (next_) {
        const bool running = *next_;
        next_.reset();
        Begin(running);
    }
}

} // namespace drmq
