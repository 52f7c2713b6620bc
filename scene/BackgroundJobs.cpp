#include "scene/BackgroundJobs.h"

#include <system_error>
#include <utility>

namespace {

bool SecondThreadsExist() {
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
    return false;
#else
    return std::thread::hardware_concurrency() != 1;
#endif
}

}  // namespace

void BackgroundJobs::Add(std::function<void()> job) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!started_ && SecondThreadsExist()) {
        started_ = true;
        try {
            helper_ = std::thread([this] { Serve(); });
        } catch (const std::system_error&) {
        }
    }
    if (!helper_.joinable()) {
        lock.unlock();
        job();
        return;
    }
    waiting_.push_back(std::move(job));
    lock.unlock();
    changed_.notify_all();
}

void BackgroundJobs::Finish() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (RunNext(lock)) {
    }
    finishing_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return running_ == 0; });
    lock.unlock();
    if (helper_.joinable()) {
        helper_.join();
    }
    lock.lock();
    finishing_ = false;
    started_ = false;
}

void BackgroundJobs::Serve() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !waiting_.empty() || finishing_; });
        if (!RunNext(lock) && finishing_) {
            return;
        }
    }
}

// Runs the first waiting job with the lock let go; false when none waits.
bool BackgroundJobs::RunNext(std::unique_lock<std::mutex>& lock) {
    if (waiting_.empty()) {
        return false;
    }
    std::function<void()> job = std::move(waiting_.front());
    waiting_.pop_front();
    ++running_;
    lock.unlock();
    job();
    lock.lock();
    --running_;
    changed_.notify_all();
    return true;
}
