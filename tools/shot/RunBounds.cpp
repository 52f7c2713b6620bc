#include "tools/shot/RunBounds.h"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

namespace {

std::mutex g_pictureLock;
std::string g_picture;

// The peak resident size so far in kilobytes: a high-water mark, so that no peak is missed
// between two looks.
long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

[[noreturn]] void EndRun(const char* why) {
    std::lock_guard<std::mutex> lock(g_pictureLock);
    if (!g_picture.empty()) {
        unlink(g_picture.c_str());
    }
    std::fprintf(stderr, "walkthrough-shot: %s; nothing written\n", why);
    std::fflush(stderr);
    _exit(1);
}

}  // namespace

void StartRunBounds(int seconds, int megabytes) {
    if (seconds <= 0 && megabytes <= 0) {
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    std::thread([=] {
        char why[96];
        while (true) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            if (seconds > 0 && std::chrono::steady_clock::now() >= deadline) {
                std::snprintf(why, sizeof why, "past its time limit of %d s", seconds);
                EndRun(why);
            }
            if (megabytes > 0 && PeakKilobytes() > 1024L * megabytes) {
                std::snprintf(why, sizeof why, "past its memory limit of %d MB", megabytes);
                EndRun(why);
            }
        }
    }).detach();
}

void SetPictureInProgress(const std::string& path) {
    std::lock_guard<std::mutex> lock(g_pictureLock);
    g_picture = path;
}
