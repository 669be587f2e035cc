#include "app/SystemCore.h"

#include <QCoreApplication>
#include <array>

#include "device/InputListener.h"
#include "session/Session.h"

namespace orv {

namespace {

// Work the session hands over runs on the window's thread, in the order it was handed over.
void PostToEventLoop(std::function<void()> work) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}

// The window's operations over a session that works on the window's own records.
class SystemCore : public CoreServices {
public:
    SystemCore(const AppOptions& options, AppRecords& records, Trace& trace, MessageSink& messages)
        : session_(FoldersOf(records), options.simulate, trace, messages, PostToEventLoop,
                   BorrowedRecords{records.profileSettings, records.language, records.macroStore}) {}

    void StartThreads(std::function<void()> repaint) override { session_.StartThreads(std::move(repaint)); }

    void NoteCurrentProfile(int32_t profile) override { session_.CurrentProfile() = profile; }

    // The session was given the same folder, and the window's language, when it was made.
    void LoadMacros(const std::filesystem::path&) override { session_.LoadMacros(); }

    bool FindDevice() override { return session_.FindDevice() != DeviceStatus::Absent; }

    void ApplyProfile() override { session_.ApplyProfile(); }

    void SayGoodbye() override { session_.SayGoodbye(); }

    uint8_t AppliedDpiCode(int level) const override {
        return level >= 0 && level < 4 ? session_.Applied().appliedDpiCode[static_cast<size_t>(level)].load() : 0;
    }

    void WatchDeviceChanges(std::function<void()> exitDriver) override {
        session_.WatchDeviceChanges(std::move(exitDriver));
    }

    void HandleDeviceChange(DeviceChange change, std::string_view interfacePath) override {
        session_.HandleDeviceChange(change, interfacePath);
    }

    bool CanSimulateInput() const override { return session_.IsSimulated(); }

    void SimulateInput(uint8_t eventCode, uint8_t value) override {
        const std::array<uint8_t, 3> report{kInputReportId, eventCode, value};
        session_.SimulateInput(report);
    }

    void SimulateUnplug() override { session_.SimulateUnplug(); }

private:
    // The same folders the window's start-up works out for itself.
    static SessionFolders FoldersOf(const AppRecords& records) {
        return {records.AppDirectory, records.AppDirectory / "config.ini", records.AppDirectory / "skins"};
    }

    Session session_;
};

}  // namespace

std::unique_ptr<CoreServices> CreateSystemCore(const AppOptions& options, AppRecords& records, Trace& trace,
                                               MessageSink& messages) {
    return std::make_unique<SystemCore>(options, records, trace, messages);
}

}  // namespace orv
