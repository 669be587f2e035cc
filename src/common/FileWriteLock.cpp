// What the systems' write locks share: how long a writer waits, and the waiting.
#include "common/FileWriteLock.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <thread>

namespace orv {

namespace {

constexpr std::chrono::milliseconds kDefaultWait{10000};
constexpr std::chrono::milliseconds kFirstPause{1};
constexpr std::chrono::milliseconds kLongestPause{25};

}  // namespace

std::chrono::milliseconds FileWriteLock::WriteLockWait() {
    const char* text = std::getenv("ORV_GMOUSE_LOCK_WAIT_MS");
    if (text == nullptr || *text == '\0') {
        return kDefaultWait;
    }
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return *end == '\0' && value >= 0 ? std::chrono::milliseconds(value) : kDefaultWait;
}

namespace detail {

LockTry RetryLock(const std::function<LockTry()>& tryOnce, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::chrono::milliseconds pause = kFirstPause;
    for (;;) {
        const LockTry result = tryOnce();
        if (result != LockTry::HeldElsewhere) {
            return result;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return result;
        }
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, kLongestPause);
    }
}

}  // namespace detail

}  // namespace orv
