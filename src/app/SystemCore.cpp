#include "app/SystemCore.h"

#include <QCoreApplication>
#include <QPointer>
#include <array>
#include <string>

#include "device/DeviceNotifier.h"
#include "device/FeatureReport.h"
#include "device/InputListener.h"
#include "device/SimulatedMouse.h"
#include "common/Relaxed.h"
#include "macro/MacroFile.h"
#include "macro/MacroPlayback.h"
#include "platform/Launcher.h"
#include "platform/PreciseSleep.h"
#include "platform/PointerSettings.h"
#include "settings/ApplyProfile.h"

namespace orv {

namespace {

class SystemCore : public CoreServices {
public:
    SystemCore(const AppOptions& options, AppRecords& records, Trace& trace, MessageSink& messages)
        : records_(records), messages_(messages) {
        if (options.simulate) {
            simulated_ = std::make_unique<SimulatedMouse>(&trace);
            pointer_ = CreateTracingPointerSettings(trace);
            launcher_ = CreateTracingLauncher(trace);
        } else {
            transport_ = CreateSystemHidTransport();
            ownNotifier_ = CreateSystemDeviceNotifier();
            pointer_ = CreateSystemPointerSettings();
            launcher_ = CreateSystemLauncher();
        }
        sleeper_ = CreatePreciseSleeper();
        link_ = std::make_unique<DeviceLink>(Transport());
        reports_ = std::make_unique<FeatureReport>(*link_);
        listener_ = std::make_unique<InputListenerThread>(*link_, records_.profileSettings.macroMode, flags_);
    }

    ~SystemCore() override {
        if (DeviceNotifier* notifier = Notifier(); notifier != nullptr && watching_) {
            notifier->Stop();
        }
        listener_->Stop();
        if (playback_ != nullptr) {
            playback_->Stop();
        }
    }

    void StartThreads(std::function<void()> repaint) override {
        flags_.Reset();
        listener_->Start();
        const PlaybackContext context{*reports_,
                                      flags_,
                                      records_.profileSettings,
                                      applied_,
                                      records_.macroStore,
                                      *launcher_,
                                      SystemClock(),
                                      *sleeper_,
                                      records_.AppDirectory / "config.ini",
                                      [this] { return playbackProfile_.load(); },
                                      [repaint = std::move(repaint)] {
                                          QMetaObject::invokeMethod(QCoreApplication::instance(), repaint,
                                                                    Qt::QueuedConnection);
                                      }};
        playback_ = std::make_unique<MacroPlaybackThread>(context);
        playback_->Start();
    }

    void NoteCurrentProfile(int32_t profile) override { playbackProfile_ = profile; }

    void LoadMacros(const std::filesystem::path& appDirectory) override {
        MacroStore& store = records_.macroStore;
        LoadMacroFile(store.userMacroFile, MacroTarget::User, store, messages_);
        LoadMacroFile(ConstantMacroFile(appDirectory), MacroTarget::Constant, store, messages_);
    }

    bool FindDevice() override { return link_->FindDevice(); }

    void ApplyProfile() override {
        const ApplyTarget target{*reports_, *pointer_, records_.ConfigPath, {}};
        orv::ApplyProfile(records_.profileSettings, records_.currentProfile, applied_, target);
    }

    // Playback ends first, releasing what it holds, so the goodbye is the mouse's last report.
    void SayGoodbye() override {
        if (playback_ != nullptr) {
            playback_->Stop();
        }
        orv::SayGoodbye(*reports_, *pointer_);
    }

    uint8_t AppliedDpiCode(int level) const override {
        return level >= 0 && level < 4 ? applied_.appliedDpiCode[static_cast<size_t>(level)].load() : 0;
    }

    void WatchDeviceChanges(std::function<void()> exitDriver) override {
        link_->SetExitDriver(std::move(exitDriver));
        DeviceNotifier* notifier = Notifier();
        if (notifier == nullptr || watching_) {
            return;
        }
        watching_ = true;
        // The notifier calls from its own thread; the link and the exit sequence belong to
        // the window's thread.
        notifier->Start([this](DeviceChange change, std::string_view path) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [this, change, path = std::string(path)] { HandleDeviceChange(change, path); },
                Qt::QueuedConnection);
        });
    }

    void HandleDeviceChange(DeviceChange change, std::string_view interfacePath) override {
        link_->HandleDeviceChange(change, interfacePath);
    }

    bool CanSimulateInput() const override { return simulated_ != nullptr; }

    void SimulateInput(uint8_t eventCode, uint8_t value) override {
        if (simulated_ != nullptr) {
            const std::array<uint8_t, 3> report{kInputReportId, eventCode, value};
            simulated_->SendInputReport(report);
        }
    }

    void SimulateUnplug() override {
        if (simulated_ != nullptr) {
            simulated_->Unplug();
        }
    }

private:
    HidTransport& Transport() { return simulated_ ? static_cast<HidTransport&>(*simulated_) : *transport_; }
    DeviceNotifier* Notifier() { return simulated_ ? simulated_.get() : ownNotifier_.get(); }

    AppRecords& records_;
    MessageSink& messages_;
    std::unique_ptr<SimulatedMouse> simulated_;
    std::unique_ptr<HidTransport> transport_;
    std::unique_ptr<DeviceNotifier> ownNotifier_;
    std::unique_ptr<PointerSettings> pointer_;
    std::unique_ptr<DeviceLink> link_;
    std::unique_ptr<FeatureReport> reports_;
    PlaybackFlags flags_;
    AppliedState applied_;
    std::unique_ptr<Launcher> launcher_;
    std::unique_ptr<Sleeper> sleeper_;
    std::unique_ptr<InputListenerThread> listener_;
    std::unique_ptr<MacroPlaybackThread> playback_;
    Relaxed<int32_t> playbackProfile_;
    bool watching_ = false;
};

}  // namespace

std::unique_ptr<CoreServices> CreateSystemCore(const AppOptions& options, AppRecords& records, Trace& trace,
                                               MessageSink& messages) {
    return std::make_unique<SystemCore>(options, records, trace, messages);
}

}  // namespace orv
