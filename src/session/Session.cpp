#include "session/Session.h"

#include <chrono>
#include <thread>

#include "device/DeviceNotifier.h"
#include "device/FeatureReport.h"
#include "device/SimulatedMouse.h"
#include "macro/MacroFile.h"
#include "macro/MacroPlayback.h"
#include "platform/Launcher.h"
#include "platform/PointerSettings.h"
#include "platform/SpinFinishSleeper.h"
#include "settings/ConfigFile.h"
#include "settings/ProfileEdits.h"

namespace orv {

Session::Session(SessionFolders folders, bool simulate, Trace& trace, MessageSink& messages, Post post)
    : folders_(std::move(folders)), messages_(messages), post_(std::move(post)) {
    Wire(simulate, trace);
}

Session::~Session() {
    if (watching_) {
        (simulated_ ? simulated_.get() : systemNotifier_.get())->Stop();
    }
    StopThreads();
}

ProfileFound Session::LoadConfiguration() {
    const ini::Snapshot config(folders_.ConfigPath);
    language_ = LoadLanguage(config);
    const int32_t n = LoadCurrentProfile(config);
    const ProfileFound found = TakeProfile(config, n);
    if (found == ProfileFound::Unreadable) {
        SetFactorySettings(profileSettings_);
        profileSettings_.macroMode = 0;
        currentProfile_ = n;
    }
    Observed(SessionStep::LoadConfiguration);
    return found;
}

ProfileFound Session::ChooseProfile(int32_t n) { return TakeProfile(ini::Snapshot(folders_.ConfigPath), n); }

WriteResult Session::SaveProfile() { return orv::SaveProfile(folders_.ConfigPath, currentProfile_, profileSettings_); }

void Session::FallBackToAppliedProfile() {
    orv::FallBackToAppliedProfile(folders_.ConfigPath, language_, profileSettings_);
}

ProfileFound Session::TakeProfile(const ini::Snapshot& config, int32_t n) {
    ProfileSettings loaded = profileSettings_;
    const ProfileFound found = LoadProfile(config, n, false, language_, loaded);
    if (found != ProfileFound::Unreadable) {
        currentProfile_ = n;
        profileSettings_ = loaded;
    }
    return found;
}

Session::MacrosLoaded Session::LoadMacros() {
    MacroStore& store = macroStore_;
    store.userMacroFile = UserMacroFileFor(folders_.AppDirectory, language_);
    MacrosLoaded loaded;
    for (const auto& [file, target] : {std::pair{store.userMacroFile, MacroTarget::User},
                                       std::pair{ConstantMacroFile(folders_.AppDirectory), MacroTarget::Constant}}) {
        switch (ReplaceMacrosFromFile(file, target, store, messages_)) {
        case ini::FileState::Missing:
            loaded.allPresent = false;
            break;
        case ini::FileState::Unreadable:
            loaded.unreadable.push_back(file);
            break;
        case ini::FileState::Read:
            break;
        }
    }
    Observed(SessionStep::LoadMacros);
    return loaded;
}

void Session::StartThreads(std::function<void()> repaint, std::function<void(WriteResult)> notSaved) {
    if (playback_ != nullptr) {
        Observed(SessionStep::StartThreads);
        return;
    }
    repaint_ = std::move(repaint);
    notSaved_ = std::move(notSaved);
    flags_.Reset();
    listener_ = std::make_unique<InputListenerThread>(*link_, profileSettings_.macroMode, flags_);
    playback_ = std::make_unique<MacroPlaybackThread>(
        PlaybackContext{*reports_, flags_, profileSettings_, applied_, macroStore_, *launcher_, SystemClock(),
                        PreciseSleeper(), folders_.ConfigPath, currentProfile_,
                        [this] {
                            if (repaint_) {
                                post_(repaint_);
                            }
                        },
                        [this](WriteResult saved) {
                            if (notSaved_) {
                                post_([notSaved = notSaved_, saved] { notSaved(saved); });
                            }
                        }});
    listener_->Start();
    playback_->Start();
    Observed(SessionStep::StartThreads);
}

void Session::StopThreads() {
    if (listener_ != nullptr) {
        listener_->Stop();
    }
    if (playback_ != nullptr) {
        playback_->Stop();
    }
}

bool Session::PlaybackIdle() const { return playback_ == nullptr || playback_->Idle(); }

DeviceStatus Session::FindDevice() {
    const DeviceStatus status = Discover();
    Observed(SessionStep::FindDevice);
    return status;
}

bool Session::DevicePresent() const { return link_->DevicePresent(); }

std::string Session::DevicePath() const { return link_->DevicePath(); }

std::vector<HidCollectionInfo> Session::MouseCollections() {
    HidTransport& transport = simulated_ ? static_cast<HidTransport&>(*simulated_) : *transport_;
    std::vector<HidCollectionInfo> ours;
    for (HidCollectionInfo& collection : transport.Enumerate(DeviceLink::kMaxInterfaces)) {
        if (DeviceLink::IsOurs(collection)) {
            ours.push_back(std::move(collection));
        }
    }
    return ours;
}

ApplyResult Session::ApplyProfile() {
    const ApplyResult result = orv::ApplyProfile(profileSettings_, currentProfile_, applied_, Target());
    Observed(SessionStep::ApplyProfile);
    return result;
}

StoredApplyResult Session::ApplyStoredProfile(std::optional<int32_t> profile) {
    StoredApplyResult result;
    ini::FileUpdate config(folders_.ConfigPath);
    if (config.Busy()) {
        result.busy = true;
        return result;
    }
    const ini::Snapshot& held = config.Contents();
    language_ = LoadLanguage(held);
    result.found = TakeProfile(held, profile.value_or(LoadCurrentProfile(held)));
    if (result.found == ProfileFound::Unreadable) {
        return result;
    }
    result.applied = orv::ApplyProfile(profileSettings_, currentProfile_, applied_, Target(), config);
    Observed(SessionStep::ApplyProfile);
    return result;
}

ApplyTarget Session::Target() { return {*reports_, *pointer_, folders_.ConfigPath, {}}; }

// Playback ends first, releasing what it holds, so the goodbye is the mouse's last report.
bool Session::SayGoodbye() {
    if (playback_ != nullptr) {
        playback_->Stop();
    }
    const bool sent = orv::SayGoodbye(*reports_, *pointer_);
    Observed(SessionStep::SayGoodbye);
    return sent;
}

void Session::WatchDeviceChanges(std::function<void()> exitDriver, std::function<void(DeviceStatus)> rediscovered) {
    link_->SetExitDriver(std::move(exitDriver));
    rediscovered_ = std::move(rediscovered);
    DeviceNotifier* notifier = simulated_ ? simulated_.get() : systemNotifier_.get();
    if (notifier != nullptr && !watching_) {
        watching_ = true;
        StartNotifier(*notifier);
    }
    Observed(SessionStep::WatchDeviceChanges);
}

void Session::HandleDeviceChange(DeviceChange change, std::string_view interfacePath) {
    const bool wasPresent = link_->DevicePresent();
    link_->HandleDeviceChange(change, interfacePath);
    if (change == DeviceChange::Arrival && !wasPresent && link_->DevicePresent() && rediscovered_) {
        rediscovered_(LinkStatus());
    }
}

void Session::SimulateInput(std::span<const uint8_t> report) {
    if (simulated_ != nullptr) {
        simulated_->SendInputReport(report);
    }
}

void Session::SimulateUnplug() {
    if (simulated_ != nullptr) {
        simulated_->Unplug();
    }
}

bool Session::WaitUntilInputServed(SteadyTime deadline, const SleepInterrupt* interrupt) {
    if (simulated_ == nullptr) {
        return false;
    }
    while (!(simulated_->InputTaken() && PlaybackIdle())) {
        if (SystemClock().Now() >= deadline || (interrupt != nullptr && interrupt->Raised())) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

Sleeper& Session::PreciseSleeper() {
    // Made on first use: on some systems it changes the system's timer resolution, which a
    // command that plays nothing has no reason to do. The spin at the end of each pause takes
    // it from the timer's wake-up latency to within microseconds of the deadline.
    if (sleeper_ == nullptr) {
        sleeper_ = std::make_unique<SpinFinishSleeper>(CreatePreciseSleeper(), SystemClock());
    }
    return *sleeper_;
}

void Session::Wire(bool simulate, Trace& trace) {
    if (simulate) {
        simulated_ = std::make_unique<SimulatedMouse>(&trace);
        pointer_ = CreateTracingPointerSettings(trace);
        launcher_ = CreateTracingLauncher(trace);
    } else {
        transport_ = CreateSystemHidTransport();
        systemNotifier_ = CreateSystemDeviceNotifier();
        pointer_ = CreateSystemPointerSettings();
        launcher_ = CreateSystemLauncher();
    }
    link_ = std::make_unique<DeviceLink>(simulated_ ? static_cast<HidTransport&>(*simulated_) : *transport_);
    reports_ = std::make_unique<FeatureReport>(*link_);
}

DeviceStatus Session::Discover() { return link_->FindDevice() ? LinkStatus() : DeviceStatus::Absent; }

DeviceStatus Session::LinkStatus() const {
    if (!link_->DevicePresent()) {
        return DeviceStatus::Absent;
    }
    if (link_->AccessDenied()) {
        return DeviceStatus::AccessDenied;
    }
    return link_->WriteHandleState() == HandleState::Open ? DeviceStatus::Ready : DeviceStatus::Unopened;
}

// The notifier calls from its own thread, and a call can still be under way when the session
// ends; what it posts runs on the caller's thread, and only while the session lives.
void Session::StartNotifier(DeviceNotifier& notifier) {
    notifier.Start(
        [this, post = post_, alive = std::weak_ptr<int>(lifetime_)](DeviceChange change, std::string_view path) {
            post([this, alive, change, path = std::string(path)] {
                if (!alive.expired()) {
                    HandleDeviceChange(change, path);
                }
            });
        });
}

void Session::Observed(SessionStep step) const {
    if (observer_) {
        observer_(step);
    }
}

}  // namespace orv
