// Synchronous hand-over of jobs from one worker thread to the UI thread.
// Created on the UI thread; Run and WorkerEnded are the worker's, the rest the UI's.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

class QObject;

namespace drmq {

class THandOver {
public:
    THandOver();
    ~THandOver();
    THandOver(const THandOver &) = delete;
    THandOver &operator=(const THandOver &) = delete;

    // Worker: has job run on the UI thread and waits until it has run (or
    // until the UI thread lets the worker go with ReleaseWorker).
    void Run(std::function<void()> job);
    // Worker: the last call of the worker thread.
    void WorkerEnded();

    // UI: a new worker is about to start.
    void Reset();
    // UI: runs the job a worker is waiting on, if any.
    void ServePending();
    // UI: waits for the worker to end, serving its hand-overs meanwhile so
    // that neither side waits for the other.
    void ServeUntilWorkerEnded();
    // UI: when called from inside the job now running, lets the worker go on
    // at once (the job is ending the worker and must not wait for itself).
    void ReleaseWorkerFromJob();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::function<void()> pending_;
    std::uint64_t posted_ = 0;   // tickets handed out
    std::uint64_t finished_ = 0; // highest ticket done or released
    bool workerEnded_ = true;
    bool jobRunning_ = false;
    std::unique_ptr<QObject> relay_; // lives in the UI thread
};

} // namespace drmq
