#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/Language.h"
#include "common/Relaxed.h"
#include "device/DeviceLink.h"
#include "device/InputListener.h"
#include "macro/MacroStore.h"
#include "platform/PreciseSleep.h"
#include "settings/ApplyProfile.h"
#include "settings/ConfigFile.h"
#include "settings/ProfileSettings.h"

namespace orv {

class DeviceNotifier;
class FeatureReport;
class Launcher;
class MacroPlaybackThread;
class MessageSink;
class PointerSettings;
class SimulatedMouse;
class Trace;

// Where the utility's files are. Whoever starts the session finds them; the session only
// uses them.
struct SessionFolders {
    std::filesystem::path AppDirectory;  // config.ini's folder, the macro files
    std::filesystem::path ConfigPath;
    std::filesystem::path SkinDirectory;
};

// What looking for the mouse found.
enum class DeviceStatus {
    Absent,        // no collection of the mouse
    Ready,         // the mouse, with its write collection open
    AccessDenied,  // the mouse, but this user may not open it
    Unopened,      // the mouse, but its write collection could not be opened for another reason
};

// A file an operation could not use.
struct FileFault {
    // Busy: another program held the file's write lock for the whole wait.
    enum class Kind { Missing, Unreadable, Unwritable, Busy };
    Kind kind;
    std::filesystem::path file;
};

// How applying a profile as config.ini holds it went.
struct StoredApplyResult {
    // Another program held config.ini's write lock for the whole wait: nothing was read, sent
    // or written.
    bool busy = false;
    ProfileFound found = ProfileFound::Section;  // Unreadable: nothing was sent or written
    ApplyResult applied;
};

// How a factory reset went.
struct RestoreResult {
    // False when config.ini could not be read or written: the reset stopped there, with the
    // working settings and config.ini as they were, the user macros untouched and nothing sent.
    bool profilesReset = false;
    ApplyResult applied;  // the closing apply, when the profiles were reset
    // What could not be read or written, in the order met. A missing factory macro file has
    // also been shown through the message sink; the user macros and their file then stay.
    std::vector<FileFault> faults;
};

// How a language switch went.
struct LanguageSwitchResult {
    // False when a skin description file of the language is missing: the switch stopped there
    // (the message has been shown) and the utility must end.
    bool skinLoaded = false;
    bool languageSaved = false;  // "VER_SEL" was written
    // The user macro file of the language could not be read (its macros stay as they were), or
    // is missing (shown through the message sink; there are no user macros now).
    std::vector<FileFault> faults;
};

// The operations a caller drives the session through, as its step observer hears of them.
enum class SessionStep {
    StartThreads,
    LoadConfiguration,
    LoadMacros,
    FindDevice,
    WatchDeviceChanges,
    ApplyProfile,
    SayGoodbye,
};

// One running utility without its window: the mouse (real, or simulated with the system's
// pointer settings and program starts only reported to the trace), the report sender, what
// the last apply sent, the macros, the input listener and the playback thread, and the records
// they work on. The window and every command of the command line drive the mouse through it.
//
// The caller's thread owns the session and its records. The listener reads macroMode; the
// playback thread reads the button functions, the macros and currentProfile, and writes
// dpiLevel and reportRate. Work that must run on the caller's thread (a repaint after playback
// followed the mouse, a device change) is handed to post, which runs it there.
class Session {
public:
    // Runs work on the caller's thread (the window queues it onto its event loop); never empty.
    using Post = std::function<void(std::function<void()> work)>;

    Session(SessionFolders folders, bool simulate, Trace& trace, MessageSink& messages, Post post);
    // Stops watching device changes and ends both threads.
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const SessionFolders& Folders() const { return folders_; }
    ProfileSettings& Settings() { return profileSettings_; }
    Language& CurrentLanguage() { return language_; }
    MacroStore& Macros() { return macroStore_; }
    // The profile the working settings belong to. Playback reads it at every change the mouse
    // makes itself, so whoever changes the profile only stores the new number here.
    Relaxed<int32_t>& CurrentProfile() { return currentProfile_; }
    const AppliedState& Applied() const { return applied_; }
    const PlaybackFlags& Flags() const { return flags_; }

    // "CurConfig" and the language of config.ini, and that profile as the working settings.
    // An unreadable config.ini gives the factory values, as a missing one does: the working
    // settings as they were may be none yet, and a profile of zeros takes the left click.
    ProfileFound LoadConfiguration();
    // Profile n becomes the current one and its section the working settings. The section is
    // read first: a config.ini that cannot be read leaves the current profile and the working
    // settings as they were, so that the settings shown are never saved as another profile's.
    ProfileFound ChooseProfile(int32_t n);
    // The working settings into the current profile's section.
    WriteResult SaveProfile();
    // Unapplied changes are dropped: the working settings become the last applied ones (profile
    // 6) again, keeping the DPI level the mouse is on now (FallBackToAppliedProfile).
    void FallBackToAppliedProfile();
    // The user macros of the language, then the constant macros, each file taken in one step so
    // that playback never plays a slot half loaded.
    struct MacrosLoaded {
        bool allPresent = true;  // else a missing file has been shown through the message sink
        // Files that exist but could not be read; the macros they hold stay as they were.
        std::vector<std::filesystem::path> unreadable;
    };
    MacrosLoaded LoadMacros();

    // Clears the playback flags, then starts the input listener and the playback thread at the
    // highest priority the system allows. repaint is posted each time playback followed a
    // change the mouse made itself. Once: a second start changes nothing.
    // notSaved is posted, with how the write went, each time a change the mouse made itself
    // could not be saved.
    void StartThreads(std::function<void()> repaint = {}, std::function<void(WriteResult)> notSaved = {});
    // Ends both threads; a playing macro stops with its releases sent.
    void StopThreads();
    // No press is waiting or being served.
    bool PlaybackIdle() const;

    DeviceStatus FindDevice();
    // The last discovery found the mouse and no removal has been announced since.
    bool DevicePresent() const;
    std::string DevicePath() const;
    // The collections of the mouse among those the system lists, in its order.
    std::vector<HidCollectionInfo> MouseCollections();

    ApplyResult ApplyProfile();
    // "CurConfig" (or the given profile, which becomes the current one as ChooseProfile makes it)
    // and the language of config.ini, that profile as the working settings, and the apply, with
    // config.ini locked
    // from the reading to the apply's save: what the apply writes back is what the file held,
    // whatever another program writes meanwhile.
    StoredApplyResult ApplyStoredProfile(std::optional<int32_t> profile);

    // Profiles 1 to 5 and the user macros of the language back to their delivered values, then
    // the current profile applied: profile 1 from the built-in values (macroMode kept), 5 to 2
    // from their reset sections, the working settings from the current profile's section, the
    // user macros from the language's factory file and saved to its user macro file, and the
    // apply. The reset profiles and the apply's save are one replace of config.ini, made before
    // the macros: killed at any moment, the file is wholly as it was or wholly reset.
    // userMacrosReplaced runs as soon as the factory macros are in the store.
    RestoreResult RestoreDefaults(const std::function<void()>& userMacrosReplaced = {});

    // The language becomes language and is stored as "VER_SEL"; then reloadSkin (the caller
    // reads the skin files of the new language; false when one is missing, which ends the
    // switch there); then the user macros come from the language's own file. The same language
    // as before reloads all the same.
    LanguageSwitchResult SwitchLanguage(Language language, const std::function<bool()>& reloadSkin);

    // The mouse and the system as the utility leaves them: the goodbye report, and the pointer
    // speed back to 10 when the system answers the query for it. Returns the send's result.
    bool SayGoodbye();

    // From now on the removal of the mouse runs exitDriver on the caller's thread, and an
    // arrival that finds the mouse again after a removal runs rediscovered with what it found.
    void WatchDeviceChanges(std::function<void()> exitDriver, std::function<void(DeviceStatus)> rediscovered = {});
    // A device change the caller received itself (where the system tells windows, not threads).
    void HandleDeviceChange(DeviceChange change, std::string_view interfacePath);

    // The simulated mouse, or nullptr for the real one.
    SimulatedMouse* Simulated() { return simulated_.get(); }
    bool IsSimulated() const { return simulated_ != nullptr; }
    // The simulated mouse sends this input report; the real one is not told anything.
    void SimulateInput(std::span<const uint8_t> report);
    // The simulated mouse is pulled out, as the system would announce it.
    void SimulateUnplug();
    // Simulated mouse: waits until the listener has taken every input report sent and playback
    // has served what they started. False when the deadline or a raise of interrupt came first,
    // or with the real mouse.
    bool WaitUntilInputServed(SteadyTime deadline, const SleepInterrupt* interrupt = nullptr);

    // The sleeper playback times its events with, for callers that pace input the same way.
    Sleeper& PreciseSleeper();

    // Told, on the caller's thread, of each operation of SessionStep once it has run, so a
    // caller's tests can check the order it drives the session in. Replaces an earlier observer.
    void ObserveSteps(std::function<void(SessionStep)> observer) { observer_ = std::move(observer); }

private:
    void Wire(bool simulate, Trace& trace);
    DeviceStatus Discover();
    DeviceStatus LinkStatus() const;
    void StartNotifier(DeviceNotifier& notifier);
    void Observed(SessionStep step) const;
    // The one rule of every change of profile: section n is loaded first, and only then do the
    // working settings and the current profile's number become its.
    ProfileFound TakeProfile(const ini::Snapshot& config, int32_t n);
    ApplyTarget Target();

    SessionFolders folders_;
    MessageSink& messages_;
    Post post_;
    std::function<void(SessionStep)> observer_;
    ProfileSettings profileSettings_;
    Language language_;
    MacroStore macroStore_;
    Relaxed<int32_t> currentProfile_;

    std::unique_ptr<SimulatedMouse> simulated_;
    std::unique_ptr<HidTransport> transport_;
    std::unique_ptr<DeviceNotifier> systemNotifier_;
    std::unique_ptr<PointerSettings> pointer_;
    std::unique_ptr<Launcher> launcher_;
    std::unique_ptr<Sleeper> sleeper_;
    std::unique_ptr<DeviceLink> link_;
    std::unique_ptr<FeatureReport> reports_;
    PlaybackFlags flags_;
    AppliedState applied_;
    std::function<void()> repaint_;
    std::function<void(WriteResult)> notSaved_;
    std::function<void(DeviceStatus)> rediscovered_;
    std::unique_ptr<InputListenerThread> listener_;
    std::unique_ptr<MacroPlaybackThread> playback_;
    bool watching_ = false;
    // Posted work that outlives the session finds this gone and does nothing.
    std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
};

}  // namespace orv
