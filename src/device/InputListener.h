#pragma once
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <thread>

#include "common/Relaxed.h"

namespace orv {

class DeviceLink;

inline constexpr uint8_t kInputReportId = 6;
inline constexpr uint8_t kButtonEventBase = 0xF0;  // event codes above it are button presses
inline constexpr uint8_t kReleaseMarker = 0x80;

// Lets the playback thread sleep until the listener has changed a flag, instead of polling:
// a press is served at once and a stop request raised while idle is cleared at once.
class ListenerEvent {
public:
    // The number of changes signalled so far.
    uint64_t Sequence() const;
    // Returns once Sequence() differs from seen or the deadline passes; gives the sequence
    // then current.
    uint64_t WaitForChange(uint64_t seen, std::chrono::steady_clock::time_point deadline);
    // Wakes every waiter (the listener after it changed a flag; also whoever stops playback).
    void Signal();

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    uint64_t sequence_ = 0;
};

// What the input listener shares with the playback thread. One instance for the process.
struct PlaybackFlags {
    // A macro-button press has been taken and is being served; cleared by playback.
    std::atomic<int32_t> PlaybackActive{0};
    // Byte 1 of the report that set PlaybackActive; stored before the flag is released, so
    // playback, which reads it after acquiring the flag, never serves an older code.
    std::atomic<uint8_t> TriggerCode{0};
    // End playback after the pass now running; cleared by playback.
    std::atomic<int32_t> StopRequest{0};
    // The last report read while no press was being served, so while one is, it holds that
    // press. Byte 2 of a DPI-level press carries the new level; it is written before
    // PlaybackActive is released.
    std::array<Relaxed<uint8_t>, 256> InputBuffer{};
    ListenerEvent event;

    // Start-up clears the three flags before the threads start.
    void Reset();
};

// One report's effect on the flags; returns whether a flag changed. macroMode non-zero is
// hold mode.
bool HandleInputReport(std::span<const uint8_t> report, int32_t macroMode, PlaybackFlags& flags);

// The thread that reads input report 6 and raises the flags. A failed read (mouse absent or
// gone) retries after 2 ms. The program runs it until it ends; the command line and tests stop
// it. macroMode is the working profile's cell, read at every report, so a change of hold mode
// takes effect at the next press.
class InputListenerThread {
public:
    InputListenerThread(DeviceLink& link, const Relaxed<int32_t>& macroMode, PlaybackFlags& flags);
    ~InputListenerThread();
    InputListenerThread(const InputListenerThread&) = delete;
    InputListenerThread& operator=(const InputListenerThread&) = delete;

    void Start();
    void Stop();

private:
    void Run();

    DeviceLink& link_;
    const Relaxed<int32_t>& macroMode_;
    PlaybackFlags& flags_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace orv
