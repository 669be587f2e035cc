#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>

namespace orv {

class PointerSettings;

// The core operations the main window's life cycle drives, behind one seam so the start-up
// order and the exit sequence can be checked without a mouse, threads or a skin on disk.
class CoreServices {
public:
    virtual ~CoreServices() = default;

    // Clears PlaybackActive and StopRequest, then starts the input listener and the macro
    // playback thread at the highest priority the system allows. Called once.
    virtual void StartThreads() = 0;

    // The user macros of the store's userMacroFile, then the constant macros of the folder.
    virtual void LoadMacros(const std::filesystem::path& appDirectory) = 0;

    virtual bool FindDevice() = 0;
    virtual void ApplyProfile() = 0;
    virtual void SendGoodbye() = 0;
    virtual PointerSettings& Pointer() = 0;
    // The DPI code ApplyProfile last sent for level 0..3.
    virtual uint8_t AppliedDpiCode(int level) const = 0;

    // onRemoved may be called from any thread; it is called at most once per removal.
    virtual void WatchDeviceRemoval(std::function<void()> onRemoved) = 0;

    // Simulated mode only: the input report the mouse would send (event code, value).
    virtual bool CanSimulateInput() const = 0;
    virtual void SimulateInput(uint8_t eventCode, uint8_t value) = 0;
};

}  // namespace orv
