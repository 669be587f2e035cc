#include "session/PreviewThread.h"

namespace orv {

namespace {

constexpr uint8_t kSteadyMode = 2;
constexpr uint8_t kDarkMode = 3;
constexpr uint8_t kFastMode = 1;
constexpr int32_t kLastColor = 3;

}  // namespace

PreviewThread::PreviewThread(const PreviewContext& context) : c_(context) {}

PreviewThread::~PreviewThread() { Stop(); }

// The mark is set and cleared under one lock: an entry to the page just as the thread decides
// to end either finds it still going (and it sees the page again) or finds it ended.
bool PreviewThread::Start() {
    const std::lock_guard lock(mutex_);
    if (stopped_ || c_.PreviewThreadRunning) {
        return false;
    }
    c_.PreviewThreadRunning = true;
    if (thread_.joinable()) {
        thread_.join();  // the last thread has cleared the mark; it only has to return
    }
    thread_ = std::thread([this] { Run(); });
    return true;
}

void PreviewThread::Stop() {
    {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    stop_.Raise();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void PreviewThread::Run() {
    int32_t level = c_.dpiLevel;
    c_.PreviewColor = level;
    int32_t shown = level;  // the level whose colour was last shown
    int32_t current = level;
    if (!CarryOn()) {
        return;
    }
    for (;;) {
        const uint8_t mode = c_.appliedLedStatus;
        if (mode == kDarkMode) {
            c_.PreviewDark = true;
            c_.PreviewColor = level;
        } else if (mode == kSteadyMode) {
            c_.PreviewDark = false;
            c_.PreviewColor = level;
        } else if (level != shown) {
            c_.PreviewColor = level;
            c_.PreviewDark = false;
            c_.repaint();
            shown = level;
            if (!Pause(kPreviewLevelHold)) {
                return;
            }
        } else if (c_.PreviewDark) {
            c_.PreviewDark = false;
        } else {
            c_.PreviewDark = true;
            c_.PreviewColor = current == kLastColor ? 0 : current + 1;
        }
        c_.repaint();
        if (!Pause(c_.appliedLedStatus == kFastMode ? kPreviewFastStep : kPreviewStep) || !CarryOn()) {
            return;
        }
        current = c_.PreviewColor;
        level = c_.dpiLevel;
    }
}

bool PreviewThread::CarryOn() {
    const std::lock_guard lock(mutex_);
    if (!stop_.Raised() && c_.colorPageShown()) {
        return true;
    }
    c_.PreviewThreadRunning = false;
    return false;
}

// Only Stop cuts a pause short.
bool PreviewThread::Pause(std::chrono::milliseconds duration) {
    if (c_.sleeper.InterruptibleSleepUntil(c_.clock.Now() + duration, stop_)) {
        return true;
    }
    End();
    return false;
}

void PreviewThread::End() {
    const std::lock_guard lock(mutex_);
    c_.PreviewThreadRunning = false;
}

}  // namespace orv
