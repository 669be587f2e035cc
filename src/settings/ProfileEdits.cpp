#include "settings/ProfileEdits.h"

#include <algorithm>

#include "settings/ConfigFile.h"

namespace orv {

void ToggleDpiEnabled(ProfileSettings& settings, int level) {
    const int levels = static_cast<int>(settings.dpiEnabled.size());
    if (level < 0 || level >= levels) {
        return;
    }
    auto& enabled = settings.dpiEnabled[static_cast<size_t>(level)];
    if (enabled == 0) {
        enabled = 1;
        return;
    }
    enabled = 0;
    if (settings.dpiLevel != level) {
        return;
    }
    for (int step = 1; step < levels; ++step) {
        const int candidate = (level + step) % levels;
        if (settings.dpiEnabled[static_cast<size_t>(candidate)] != 0) {
            settings.dpiLevel = candidate;
            return;
        }
    }
    // It was the only enabled level: it stays enabled and current.
    enabled = 1;
}

void SelectDpiLevel(ProfileSettings& settings, int level) {
    if (level >= 0 && static_cast<size_t>(level) < settings.dpiEnabled.size() &&
        settings.dpiEnabled[static_cast<size_t>(level)] != 0) {
        settings.dpiLevel = level;
    }
}

int32_t FireTimeAtSliderPoint(int px, int sliderX, int sliderWidth) {
    if (sliderWidth <= 0 || px < sliderX) {
        return kMinFireTime;
    }
    // Unsigned 32-bit arithmetic, as the slider has always scaled.
    const auto offset = static_cast<uint32_t>(px - sliderX);
    const auto range = static_cast<uint32_t>(kMaxFireTime - kMinFireTime);
    const uint32_t scaled = std::min(offset * range / static_cast<uint32_t>(sliderWidth), range);
    return kMinFireTime + static_cast<int32_t>(scaled);
}

// In 64 bits: a hand-edited extreme must not wrap round to the far end of the 32-bit range.
void StepFireTimeUp(ProfileSettings& settings) {
    const int64_t time = settings.fireTime.load();
    settings.fireTime = static_cast<int32_t>(std::min<int64_t>(time + 1, kMaxFireTime));
}

void StepFireTimeDown(ProfileSettings& settings) {
    const int64_t time = settings.fireTime.load();
    settings.fireTime = static_cast<int32_t>(std::max<int64_t>(time - 1, kMinFireTime));
}

void ToggleHoldMode(ProfileSettings& settings) { settings.macroMode = settings.macroMode == 0 ? 1 : 0; }

bool NeedsLeftButtonWarning(const ProfileSettings& settings, int button) {
    for (size_t i = 0; i < settings.buttonFunction.size(); ++i) {
        if (static_cast<int>(i) != button && settings.buttonFunction[i] == kLeftClick) {
            return false;
        }
    }
    return true;
}

void AssignButtonFunction(ProfileSettings& settings, int button, int32_t code) {
    if (button < 0 || static_cast<size_t>(button) >= settings.buttonFunction.size()) {
        return;
    }
    settings.buttonFunction[static_cast<size_t>(button)] = code;
    EnsureLeftClick(settings, button);
}

void EnsureLeftClick(ProfileSettings& settings, int button) {
    const size_t count = settings.buttonFunction.size();
    if (button < 0 || static_cast<size_t>(button) >= count) {
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        if (settings.buttonFunction[i] == kLeftClick) {
            return;
        }
    }
    const size_t next = static_cast<size_t>(button) + 1;
    settings.buttonFunction[next < count ? next : count - 1] = kLeftClick;
}

void FallBackToAppliedProfile(const std::filesystem::path& configFile, Language language, ProfileSettings& settings) {
    SaveDpiLevel(configFile, kAppliedProfile, settings);
    LoadProfile(configFile, kAppliedProfile, false, language, settings);
}

}  // namespace orv
