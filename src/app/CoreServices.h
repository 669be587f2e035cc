#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

#include "device/DeviceLink.h"

namespace orv {

// The core operations the main window's life cycle drives, behind one seam so the start-up
// order and the exit sequence can be checked without a mouse or threads.
class CoreServices {
public:
    virtual ~CoreServices() = default;

    // Clears PlaybackActive and StopRequest, then starts the input listener and the macro
    // playback thread at the highest priority the system allows. Called once. repaint is
    // called on the window's thread after playback followed a change the mouse made itself.
    virtual void StartThreads(std::function<void()> repaint) = 0;
    // The profile the playback thread saves the mouse's own changes into. The window tells it
    // after every change of currentProfile, which only the window's thread makes.
    virtual void NoteCurrentProfile(int32_t profile) = 0;

    // The user macros of the store's userMacroFile, then the constant macros of the folder.
    virtual void LoadMacros(const std::filesystem::path& appDirectory) = 0;

    virtual bool FindDevice() = 0;
    virtual void ApplyProfile() = 0;
    // The mouse and the system as the utility leaves them: playback stopped (releasing the
    // keys and buttons it holds), then the goodbye report, and the pointer speed back to 10
    // when the system answers the query for it.
    virtual void SayGoodbye() = 0;
    // The DPI code ApplyProfile last sent for level 0..3.
    virtual uint8_t AppliedDpiCode(int level) const = 0;

    // From now on the removal of the mouse calls exitDriver on the window's thread.
    virtual void WatchDeviceChanges(std::function<void()> exitDriver) = 0;
    // A device change the window received itself (where the system tells windows, not threads).
    virtual void HandleDeviceChange(DeviceChange change, std::string_view interfacePath) = 0;

    // Simulated mode only: the input report the mouse would send (event code, value).
    virtual bool CanSimulateInput() const = 0;
    virtual void SimulateInput(uint8_t eventCode, uint8_t value) = 0;
    // Simulated mode only: the mouse is pulled out, as the system would announce it.
    virtual void SimulateUnplug() = 0;
};

}  // namespace orv
