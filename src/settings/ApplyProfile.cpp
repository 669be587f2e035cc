#include "settings/ApplyProfile.h"

#include <algorithm>

#include "device/FeatureReport.h"
#include "platform/PointerSettings.h"
#include "settings/ConfigFile.h"

namespace orv {

namespace {

class Counter {
public:
    explicit Counter(ApplyResult& result) : result_(result) {}
    void operator()(bool sent) { ++(sent ? result_.reportsSent : result_.reportsFailed); }

private:
    ApplyResult& result_;
};

// A system that cannot tell the current value is left alone.
void SetPointerSpeed(PointerSettings& pointer, int speed) {
    int current = 20;
    if (pointer.QueryPointerSpeed(current)) {
        pointer.SetPointerSpeed(speed);
    }
}

void SetWheelLines(PointerSettings& pointer, int lines) {
    int current = 0;
    if (pointer.QueryWheelLines(current)) {
        pointer.SetWheelLines(lines);
    }
}

}  // namespace

ApplyResult ApplyProfile(const ProfileSettings& s, int32_t currentProfile, AppliedState& applied,
                         const ApplyTarget& target) {
    ApplyResult result;
    Counter count(result);
    FeatureReport& reports = target.reports;

    const auto save = [&result](WriteResult saved) {
        if (result.saved) {
            result.saved = saved;
        }
    };
    save(SaveCurrentProfile(target.configPath, currentProfile));
    save(SaveProfile(target.configPath, kAppliedProfile, s));

    for (size_t i = 0; i < DeviceButtonCode.size(); ++i) {
        const FunctionCodeInfo& function = DescribeFunctionCode(s.buttonFunction[i]);
        applied.DpiReportFlag[i] = function.flag == ReportFlag::DpiReport ? 1 : 0;
        applied.RateCycleFlag[i] = function.flag == ReportFlag::RateCycle ? 1 : 0;
        count(reports.SendButtonFunction(DeviceButtonCode[i], function.deviceValue));
    }

    count(reports.SendWheelStatus(s.wheelStatus));

    uint8_t enabledMask = 0;
    for (size_t n = 0; n < s.dpiEnabled.size(); ++n) {
        enabledMask = static_cast<uint8_t>(enabledMask | ((s.dpiEnabled[n] != 0 ? 1 : 0) << n));
    }
    for (size_t n = 0; n < s.dpiStep.size(); ++n) {
        applied.appliedDpiCode[n] = DpiCodeForStep(s.dpiStep[n]);
        count(reports.SendDpiLevel(s.dpiLevel, applied.appliedDpiCode[n], static_cast<int>(n), enabledMask));
    }

    // The value recorded is the one the mouse was sent, so the preview never shows a mode the
    // mouse does not have.
    applied.appliedLedStatus = std::min<uint8_t>(s.ledStatus, 3);
    count(reports.SendLighting(s.ledStatus));

    if (target.repaint) {
        target.repaint();
    }

    SetPointerSpeed(target.pointer, WindowsPointerSpeed(s.pointerSpeed));
    SetWheelLines(target.pointer, WheelScrollLines(s.wheelSpeed));

    count(reports.SendFireTime(s.fireTime));

    save(SaveProfile(target.configPath, currentProfile, s));
    return result;
}

bool SayGoodbye(FeatureReport& reports, PointerSettings& pointer) {
    const bool sent = reports.SendGoodbye();
    SetPointerSpeed(pointer, 10);
    return sent;
}

}  // namespace orv
