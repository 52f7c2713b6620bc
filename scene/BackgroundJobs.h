// Jobs handed to a second thread while this one reads on: loading a big model computes a mesh's
// face normals there while the next mesh is read. Jobs run in the order given, on whichever
// thread claims them first; Finish() runs what is left here and waits for the second thread.
// Without a second thread to be had (a WebAssembly build without threads, one core, none left
// to start) each job runs here as it is added.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class BackgroundJobs {
public:
    BackgroundJobs() = default;
    ~BackgroundJobs() { Finish(); }
    BackgroundJobs(const BackgroundJobs&) = delete;
    BackgroundJobs& operator=(const BackgroundJobs&) = delete;

    // `job` must not throw; what it reads must stay as it is until Finish() returns.
    void Add(std::function<void()> job);
    // Returns when every job added has run.
    void Finish();

private:
    void Serve();
    bool RunNext(std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> waiting_;
    int running_ = 0;
    bool finishing_ = false;
    bool started_ = false;
    std::thread helper_;
};
