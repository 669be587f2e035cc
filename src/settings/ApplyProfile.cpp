#include "settings/ApplyProfile.h"

#include <algorithm>

#include "common/IniFile.h"
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
    ini::FileUpdate config(target.configPath);
    return ApplyProfile(s, currentProfile, applied, target, config);
}

// The saves are one replace, so that two applies at once never leave "CurConfig" naming one
// profile and profile 6 holding another's settings. It is made before the reports, as the
// record of what is being applied.
ApplyResult ApplyProfile(const ProfileSettings& s, int32_t currentProfile, AppliedState& applied,
                         const ApplyTarget& target, ini::FileUpdate& config) {
    WriteAppliedProfile(config, s, currentProfile);
    const WriteResult saved = config.Commit();
    ApplyResult result = SendProfile(s, applied, target);
    result.saved = saved;
    return result;
}

void WriteAppliedProfile(ini::FileUpdate& config, const ProfileSettings& s, int32_t currentProfile) {
    WriteCurrentProfile(config, currentProfile);
    WriteProfile(config, kAppliedProfile, s);
    WriteProfile(config, currentProfile, s);
}

ApplyResult SendProfile(const ProfileSettings& s, AppliedState& applied, const ApplyTarget& target) {
    ApplyResult result;
    Counter count(result);
    FeatureReport& reports = target.reports;

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
    return result;
}

bool SayGoodbye(FeatureReport& reports, PointerSettings& pointer) {
    const bool sent = reports.SendGoodbye();
    SetPointerSpeed(pointer, 10);
    return sent;
}

}  // namespace orv
