// Sharing work with a second thread, for the big jobs of loading a model and laying it out for
// drawing: both threads take blocks of the work from a shared counter until none are left.
#pragma once

#include <system_error>
#include <thread>

// Below this many faces a second thread costs more to start than it saves.
constexpr int kFacesWorthASecondThread = 16384;

// Runs `share(0)` on a second thread and `share(1)` on this one and returns when both have
// ended. Where no second thread is to be had (a WebAssembly build without threads, or none left
// to start), runs both on this thread, one after the other.
template <class Share>
void ShareWithSecondThread(const Share& share) {
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
    share(0);
#else
    std::thread helper;
    try {
        helper = std::thread([&share] { share(0); });
    } catch (const std::system_error&) {
        share(0);
    }
#endif
    share(1);
#if !defined(__EMSCRIPTEN__) || defined(__EMSCRIPTEN_PTHREADS__)
    if (helper.joinable()) {
        helper.join();
    }
#endif
}
