#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "common/Relaxed.h"
#include "platform/PreciseSleep.h"

namespace orv {

// What the lighting preview reads and writes; the window owns all of it.
struct PreviewContext {
    // What the colour page's preview region shows: 0 blue, 1 pink, 2 red, 3 purple (the colour
    // of that DPI level); dark takes precedence.
    Relaxed<int32_t>& PreviewColor;
    Relaxed<bool>& PreviewDark;
    // A preview thread exists.
    Relaxed<bool>& PreviewThreadRunning;
    // The lighting mode the mouse was last sent, and the working DPI level.
    const Relaxed<uint8_t>& appliedLedStatus;
    const Relaxed<int32_t>& dpiLevel;
    // The colour page is shown; asked from the preview thread.
    std::function<bool()> colorPageShown;
    // Asks the window's thread for a repaint of the whole window; called from the preview thread.
    std::function<void()> repaint;
    Clock& clock;
    Sleeper& sleeper;
};

// A step of the animation lasts this long, a fast one in lighting mode 1; a new DPI level's
// colour is first held this long.
inline constexpr std::chrono::milliseconds kPreviewStep{1200};
inline constexpr std::chrono::milliseconds kPreviewFastStep{800};
inline constexpr std::chrono::milliseconds kPreviewLevelHold{2000};

// The thread that animates the colour page's preview while that page is shown, imitating the
// applied lighting mode: mode 3 dark, mode 2 steady in the DPI level's colour, any other mode
// lit and dark by turns with the colour moving on at each dark step, a new DPI level's colour
// held first. It ends by itself at the end of the step in which the page was left.
class PreviewThread {
public:
    explicit PreviewThread(const PreviewContext& context);
    // Stops the thread.
    ~PreviewThread();
    PreviewThread(const PreviewThread&) = delete;
    PreviewThread& operator=(const PreviewThread&) = delete;

    // On every entry to the colour page: starts the thread unless one still runs, which then
    // simply carries on. False when none was started.
    bool Start();
    // Ends the thread with its wait cut short and waits for it; later starts do nothing. For
    // the end of the program, before what the thread reads and calls goes away.
    void Stop();

    // The thread's procedure, run on the caller's thread: animates until the colour page is
    // left or Stop, then clears PreviewThreadRunning.
    void Run();

private:
    // Whether the thread goes on; if not, it is marked ended, in one step with Start's look.
    bool CarryOn();
    bool Pause(std::chrono::milliseconds duration);
    void End();

    PreviewContext c_;
    std::mutex mutex_;
    bool stopped_ = false;
    SleepInterrupt stop_;
    std::thread thread_;
};

}  // namespace orv
