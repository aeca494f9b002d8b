#include "rig/HamlibWorker.h"

#include <optional>
#include <pthread.h>
#include <signal.h>

namespace drmq {

struct THamlibWorker::TCommand {
    enum class TKind { Open, Close, Reopen, Tune, Passband, Attenuator, Audio, Strength };
    TKind Kind = TKind::Close;
    THamlibSettings Settings{};
    std::uint64_t Session = 0;
    std::int64_t Hz = 0;
    TPassband Passband = TPassband::Wide;
    int Db = 0;
    float Level = 0.0F;
};

struct THamlibWorker::TShared {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<TCommand> queue;
    std::uint64_t sessions = 0;
    bool stop = false;
    bool ended = false;

    std::mutex sinkMutex;
    TSink sink;
    void Emit(THamlibEvent event) {
        std::lock_guard<std::mutex> lock(sinkMutex);
        if (sink) sink(event);
    }
};

namespace {
using TKind = THamlibEvent::TKind;
constexpr std::chrono::milliseconds kGracePeriod{3000};

// The rig as the worker knows it: what was last asked for, so that a link
// that comes back gets the same settings again.
class TRigSession {
public:
    explicit TRigSession(const std::function<void(THamlibEvent)> &emit) : emit_(emit) {}

    void Open(const THamlibSettings &settings, std::uint64_t session, std::int64_t hz) {
        rig_.Close();
        settings_ = settings;
        session_ = session;
        active_ = false;
        lost_ = false;
        hz_ = hz;
        passband_ = TPassband::Wide;
        attenuator_.reset();
        audio_.reset();
        THamlibResult result = rig_.Open(settings_);
        std::string refused;
        if (result.Ok()) result = ApplyAll(refused);
        if (!result.Ok()) {
            rig_.Close();
            Emit(TKind::OpenFailed, result.Text);
            return;
        }
        active_ = true;
        THamlibEvent opened{TKind::Opened, session_, {}, rig_.Capabilities(), 0};
        emit_(opened);
        if (!refused.empty()) Emit(TKind::CommandFailed, refused);
    }

    void Close() {
        rig_.Close();
        active_ = false;
        lost_ = false;
    }

    void Tune(std::int64_t hz) {
        hz_ = hz;
        Command([&] { return rig_.SetFrequency(hz); });
    }
    void SetPassband(TPassband passband) {
        passband_ = passband;
        Command([&] { return rig_.SetMode(settings_.Mode, passband); });
    }
    void SetAttenuator(int db) {
        attenuator_ = db;
        Command([&] { return rig_.SetAttenuator(db); });
    }
    void SetAudioLevel(float level) {
        audio_ = level;
        Command([&] { return rig_.SetAudioLevel(level); });
    }
    void ReadStrength() {
        if (!active_ || lost_) return;
        int db = 0;
        const THamlibResult result = rig_.ReadStrength(db);
        if (result.Ok()) emit_(THamlibEvent{TKind::Strength, session_, {}, {}, db});
        else if (result.LinkFailure()) LoseLink(result.Text);
        // A reading the rig cannot give is simply not shown.
    }

    void Reopen() {
        if (!active_ || !lost_) return;
        THamlibResult result = rig_.Open(settings_);
        std::string refused;
        if (result.Ok()) result = ApplyAll(refused);
        // Not back yet: the window asks again a few seconds later.
        if (!result.Ok()) {
            rig_.Close();
            return;
        }
        lost_ = false;
        Emit(TKind::LinkBack, {});
    }

private:
    void Emit(TKind kind, const std::string &text) { emit_(THamlibEvent{kind, session_, text, {}, 0}); }

    // Runs a user's command; while the link is lost only its value is kept.
    template <class TCall> void Command(TCall call) {
        if (!active_ || lost_) return;
        const THamlibResult result = call();
        if (result.LinkFailure()) LoseLink(result.Text);
        else if (!result.Ok()) Emit(TKind::CommandFailed, result.Text);
    }

    void LoseLink(const std::string &why) {
        rig_.Close();
        lost_ = true;
        Emit(TKind::LinkLost, why);
    }

    // Mode, frequency and the levels asked for, on a freshly opened rig. A
    // link failure is returned; what the rig merely refuses is collected.
    THamlibResult ApplyAll(std::string &refused) {
        auto step = [&](const THamlibResult &result) {
            if (!result.Ok() && !result.LinkFailure() && refused.empty()) refused = result.Text;
            return !result.LinkFailure();
        };
        THamlibResult failure;
        auto run = [&](const THamlibResult &result) {
            if (!step(result) && failure.Ok()) failure = result;
        };
        run(rig_.SetMode(settings_.Mode, passband_));
        if (failure.Ok() && hz_ > 0) run(rig_.SetFrequency(hz_));
        if (failure.Ok() && attenuator_) run(rig_.SetAttenuator(*attenuator_));
        if (failure.Ok() && audio_) run(rig_.SetAudioLevel(*audio_));
        return failure;
    }

    std::function<void(THamlibEvent)> emit_;
    THamlibRig rig_;
    THamlibSettings settings_;
    std::uint64_t session_ = 0;
    bool active_ = false;
    bool lost_ = false;
    std::int64_t hz_ = 0;
    TPassband passband_ = TPassband::Wide;
    std::optional<int> attenuator_;
    std::optional<float> audio_;
};

} // namespace

THamlibWorker::THamlibWorker(TSink sink) : shared_(std::make_shared<TShared>()) {
    shared_->sink = std::move(sink);
    thread_ = std::thread([shared = shared_] { Run(shared); });
}

THamlibWorker::~THamlibWorker() {
    {
        std::lock_guard<std::mutex> lock(shared_->sinkMutex);
        shared_->sink = nullptr;
    }
    Close();
    std::unique_lock<std::mutex> lock(shared_->mutex);
    shared_->stop = true;
    shared_->changed.notify_all();
    const bool ended = shared_->changed.wait_for(lock, kGracePeriod, [&] { return shared_->ended; });
    lock.unlock();
    if (ended) thread_.join();
    else thread_.detach();
}

std::uint64_t THamlibWorker::Open(const THamlibSettings &settings, std::int64_t hz) {
    std::uint64_t session = 0;
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        session = ++shared_->sessions;
    }
    Post({.Kind = TCommand::TKind::Open, .Settings = settings, .Session = session, .Hz = hz});
    return session;
}

void THamlibWorker::Close() {
    Post({.Kind = TCommand::TKind::Close});
}

void THamlibWorker::Reopen() {
    Post({.Kind = TCommand::TKind::Reopen});
}

void THamlibWorker::Tune(std::int64_t hz) {
    Post({.Kind = TCommand::TKind::Tune, .Hz = hz});
}

void THamlibWorker::SetPassband(TPassband passband) {
    Post({.Kind = TCommand::TKind::Passband, .Passband = passband});
}

void THamlibWorker::SetAttenuator(int db) {
    Post({.Kind = TCommand::TKind::Attenuator, .Db = db});
}

void THamlibWorker::SetAudioLevel(float level) {
    Post({.Kind = TCommand::TKind::Audio, .Level = level});
}

void THamlibWorker::ReadStrength() {
    Post({.Kind = TCommand::TKind::Strength});
}

void THamlibWorker::Post(TCommand command) {
    using K = TCommand::TKind;
    std::lock_guard<std::mutex> lock(shared_->mutex);
    auto &queue = shared_->queue;
    // Only the newest of these matters; older ones waiting since the last
    // open or close are dropped.
    if (command.Kind == K::Tune || command.Kind == K::Audio || command.Kind == K::Strength) {
        for (auto it = queue.end(); it != queue.begin();) {
            --it;
            if (it->Kind == K::Open || it->Kind == K::Close) break;
            if (it->Kind == command.Kind) it = queue.erase(it);
        }
    }
    queue.push_back(std::move(command));
    shared_->changed.notify_all();
}

void THamlibWorker::Run(const std::shared_ptr<TShared> &shared) {
    // A write to a network rig whose server has gone must fail with EPIPE
    // rather than end the program.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);

    using K = TCommand::TKind;
    TRigSession rig([&shared](THamlibEvent event) { shared->Emit(std::move(event)); });
    for (;;) {
        std::unique_lock<std::mutex> lock(shared->mutex);
        auto ready = [&] { return shared->stop || !shared->queue.empty(); };
        shared->changed.wait(lock, ready);
        if (shared->queue.empty()) break;
        TCommand command = std::move(shared->queue.front());
        shared->queue.pop_front();
        lock.unlock();
        switch (command.Kind) {
        case K::Open: rig.Open(command.Settings, command.Session, command.Hz); break;
        case K::Close: rig.Close(); break;
        case K::Reopen: rig.Reopen(); break;
        case K::Tune: rig.Tune(command.Hz); break;
        case K::Passband: rig.SetPassband(command.Passband); break;
        case K::Attenuator: rig.SetAttenuator(command.Db); break;
        case K::Audio: rig.SetAudioLevel(command.Level); break;
        case K::Strength: rig.ReadStrength(); break;
        }
    }
    rig.Close();
    std::lock_guard<std::mutex> lock(shared->mutex);
    shared->ended = true;
    shared->changed.notify_all();
}

} // namespace drmq
