// TDreamLogSwitch: turns the Dream decoder's own log on or off through its
// "System Evaluation" window, as a user would, and confirms the change from
// Dream's files. Waits by timers, so the window never freezes. UI thread.
#pragma once

#include "logging/DecoderSequences.h"
#include "logging/DreamFiles.h"

#include <QElapsedTimer>
#include <QObject>

#include <functional>
#include <optional>

namespace drmq {

class TDreamLogSwitch : public QObject {
public:
    enum class TResult {
        Confirmed,         // Dream's files show its log in the wanted state
        Unconfirmed,       // the toggle went out; Dream's folder cannot be read
        NotFollowed,       // Dream did not change its log within the time allowed
        DreamMissing,      // no window "Dream" (nor "System Evaluation")
        EvaluationMissing, // "System Evaluation" did not open after Alt+E
    };
    struct TDone {
        bool Wanted = false; // the log was to run
        TResult Result = TResult::Confirmed;
        QString Folder;      // Dream's working folder, empty when unknown
    };
    // control is read at every step, so a caller may replace its functions;
    // keys go out through held, which keeps the program's own input back.
    TDreamLogSwitch(const TDecoderControl &control, std::function<void(const std::function<void()> &)> held,
                    std::function<void(const TDone &)> done, QObject *parent = nullptr);

    // Brings Dream's log into the wanted state. A request made while one is
    // under way follows it once it has ended.
    void Request(bool running);
    bool Busy() const { return busy_; }

    // Dream's "System Evaluation" window, else its main window "Dream" by
    // that exact title: a title that merely begins with it may be anything,
    // an editor showing DreamLog.txt, say.
    static TFoundWindow FindDream(const TDecoderControl &control);

    // Dream's log state in a folder; replaceable for tests.
    std::function<TDreamLogState(const QString &folder)> StateOf = [](const QString &f) { return DreamLogState(f); };

private:
    void Begin(bool running);
    void WaitForEvaluation();
    void Toggle();
    void SendToggle();
    void Confirm();
    void Finish(TResult result);
    // Runs step after ms on the event loop.
    void After(int ms, void (TDreamLogSwitch::*step)());
    bool InWantedState(TDreamLogState state) const;

    const TDecoderControl &control_;
    std::function<void(const std::function<void()> &)> held_;
    std::function<void(const TDone &)> done_;
    bool busy_ = false;
    bool wanted_ = false;
    std::optional<bool> next_;
    QString folder_;
    bool stateKnown_ = false;
    // A toggle went out while the state was unknown: only then may a stop
    // toggle again, or it would switch an idle log on.
    bool blindlyStarted_ = false;
    QElapsedTimer waited_;
};

} // namespace drmq
