// TActionGate: holds back the clock tick and user actions while a decoder key
// sequence runs, and runs them in their order once it has ended. UI thread.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

namespace drmq {

class TActionGate {
public:
    explicit TActionGate(QObject *context) : context_(context) {}

    // Runs the action now, or queues it while the gate is held. A queued
    // action of a control (source) is dropped when the control has been
    // disabled meanwhile, as a click on it then would have been.
    void Run(std::function<void()> action, QWidget *source = nullptr);
    // The same for an action that falls due repeatedly (a timer): while the
    // gate is held it waits at most once, so ticks that fall due meanwhile
    // are merged into one.
    void RunMerged(const void *key, std::function<void()> action);

    // Holds the gate while it lives; the queued actions run from the event
    // loop once the last hold has ended, after the handler that held it.
    class THold {
    public:
        explicit THold(TActionGate &gate) : gate_(gate) { ++gate_.holds_; }
        ~THold() { gate_.Release(); }
        THold(const THold &) = delete;
        THold &operator=(const THold &) = delete;

    private:
        TActionGate &gate_;
    };
    bool Held() const { return holds_ > 0; }

private:
    struct TWaiting {
        const void *key;
        std::function<void()> action;
        QPointer<QWidget> source;
        bool hasSource;
    };
    void Queue(TWaiting waiting);
    void Release();

    QPointer<QObject> context_;
    int holds_ = 0;
    std::vector<TWaiting> waiting_;
};

} // namespace drmq
