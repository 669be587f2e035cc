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
#include "settings/ConfigFile.h"

namespace orv {

struct Session::OwnRecords {
    ProfileSettings profileSettings;
    Language language;
    MacroStore macroStore;
};

Session::Session(SessionFolders folders, bool simulate, Trace& trace, MessageSink& messages, Post post)
    : folders_(std::move(folders)),
      messages_(messages),
      post_(std::move(post)),
      own_(std::make_unique<OwnRecords>()),
      records_{own_->profileSettings, own_->language, own_->macroStore} {
    Wire(simulate, trace);
}

Session::Session(SessionFolders folders, bool simulate, Trace& trace, MessageSink& messages, Post post,
                 BorrowedRecords records)
    : folders_(std::move(folders)), messages_(messages), post_(std::move(post)), records_(records) {
    Wire(simulate, trace);
}

Session::~Session() {
    if (watching_) {
        (simulated_ ? simulated_.get() : systemNotifier_.get())->Stop();
    }
    StopThreads();
}

ProfileFound Session::LoadConfiguration() {
    currentProfile_ = LoadCurrentProfile(folders_.ConfigPath);
    records_.language = LoadLanguage(folders_.ConfigPath);
    return LoadProfile(folders_.ConfigPath, currentProfile_, false, records_.language, records_.profileSettings);
}

ProfileFound Session::ChooseProfile(int32_t n) {
    currentProfile_ = n;
    return LoadProfile(folders_.ConfigPath, n, false, records_.language, records_.profileSettings);
}

Session::MacrosLoaded Session::LoadMacros() {
    MacroStore& store = records_.macroStore;
    store.userMacroFile = UserMacroFileFor(folders_.AppDirectory, records_.language);
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
    return loaded;
}

void Session::StartThreads(std::function<void()> repaint) {
    if (playback_ != nullptr) {
        return;
    }
    repaint_ = std::move(repaint);
    flags_.Reset();
    listener_ = std::make_unique<InputListenerThread>(*link_, records_.profileSettings.macroMode, flags_);
    playback_ = std::make_unique<MacroPlaybackThread>(PlaybackContext{*reports_,
                                                                      flags_,
                                                                      records_.profileSettings,
                                                                      applied_,
                                                                      records_.macroStore,
                                                                      *launcher_,
                                                                      SystemClock(),
                                                                      PreciseSleeper(),
                                                                      folders_.ConfigPath,
                                                                      currentProfile_,
                                                                      [this] {
                                                                          if (repaint_) {
                                                                              post_(repaint_);
                                                                          }
                                                                      }});
    listener_->Start();
    playback_->Start();
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
    if (!link_->FindDevice()) {
        return DeviceStatus::Absent;
    }
    if (link_->AccessDenied()) {
        return DeviceStatus::AccessDenied;
    }
    return link_->WriteHandleState() == HandleState::Open ? DeviceStatus::Ready : DeviceStatus::Unopened;
}

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
    const ApplyTarget target{*reports_, *pointer_, folders_.ConfigPath, {}};
    return orv::ApplyProfile(records_.profileSettings, currentProfile_, applied_, target);
}

// Playback ends first, releasing what it holds, so the goodbye is the mouse's last report.
bool Session::SayGoodbye() {
    if (playback_ != nullptr) {
        playback_->Stop();
    }
    return orv::SayGoodbye(*reports_, *pointer_);
}

void Session::WatchDeviceChanges(std::function<void()> exitDriver) {
    link_->SetExitDriver(std::move(exitDriver));
    DeviceNotifier* notifier = simulated_ ? simulated_.get() : systemNotifier_.get();
    if (notifier == nullptr || watching_) {
        return;
    }
    watching_ = true;
    // The notifier calls from its own thread, and a call can still be under way when the
    // session ends; what it posts runs on the caller's thread, and only while the session lives.
    notifier->Start([this, post = post_, alive = std::weak_ptr<int>(lifetime_)](DeviceChange change,
                                                                               std::string_view path) {
        post([this, alive, change, path = std::string(path)] {
            if (!alive.expired()) {
                HandleDeviceChange(change, path);
            }
        });
    });
}

void Session::HandleDeviceChange(DeviceChange change, std::string_view interfacePath) {
    link_->HandleDeviceChange(change, interfacePath);
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

bool Session::WaitUntilInputServed(SteadyTime deadline) {
    if (simulated_ == nullptr) {
        return false;
    }
    while (!(simulated_->InputTaken() && PlaybackIdle())) {
        if (SystemClock().Now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

Sleeper& Session::PreciseSleeper() {
    // Made on first use: on some systems it changes the system's timer resolution, which a
    // command that plays nothing has no reason to do.
    if (sleeper_ == nullptr) {
        sleeper_ = CreatePreciseSleeper();
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

}  // namespace orv
