#include "device/FeatureReport.h"

#include <algorithm>

#include "device/DeviceLink.h"

namespace orv {

FeatureReport::FeatureReport(DeviceLink& link) : link_(link) {}

bool FeatureReport::SendDpiLevel(int32_t dpiLevel, uint8_t dpiCode, int level, uint8_t enabledMask) {
    return Send([&](ReportBuffer& b) { ComposeDpiLevel(b, dpiLevel, dpiCode, level, enabledMask); });
}

bool FeatureReport::SendButtonFunction(uint8_t deviceButton, uint8_t functionValue) {
    return Send([&](ReportBuffer& b) { ComposeButtonFunction(b, deviceButton, functionValue); });
}

bool FeatureReport::SendWheelStatus(int32_t wheelStatus) {
    return Send([&](ReportBuffer& b) { ComposeWheelStatus(b, wheelStatus); });
}

bool FeatureReport::SendFireTime(int32_t fireTime) {
    return Send([&](ReportBuffer& b) { ComposeFireTime(b, fireTime); });
}

bool FeatureReport::SendLighting(uint8_t ledStatus) {
    return Send([&](ReportBuffer& b) { ComposeLighting(b, ledStatus); });
}

bool FeatureReport::SendHeldKeys(std::span<const uint8_t, 6> heldKeys) {
    return Send([&](ReportBuffer& b) { ComposeHeldKeys(b, heldKeys); });
}

bool FeatureReport::SendMouseButtons(uint8_t mouseButtonMask) {
    return Send([&](ReportBuffer& b) { ComposeMouseButtons(b, mouseButtonMask); });
}

bool FeatureReport::SendConsumerUsage(uint16_t usage) {
    return Send([&](ReportBuffer& b) { ComposeConsumerUsage(b, usage); });
}

bool FeatureReport::SendGoodbye() {
    return Send([](ReportBuffer& b) { ComposeGoodbye(b); });
}

bool FeatureReport::Send(const std::function<void(ReportBuffer&)>& compose) {
    // The length is the write collection's, whatever the command; a length beyond the buffer
    // (a broken descriptor) is cut rather than read past its end.
    const size_t length = std::min<size_t>(link_.WriteCaps().featureReportLength, buffer_.size());
    std::lock_guard lock(mutex_);
    compose(buffer_);
    return link_.SendFeatureReport(std::span<const uint8_t>(buffer_.data(), length));
}

ReportBuffer FeatureReport::Contents() const {
    std::lock_guard lock(mutex_);
    return buffer_;
}

uint8_t LightingCode(uint8_t ledStatus) {
    static constexpr std::array<uint8_t, 4> kModes{0, 3, 6, 7};
    return static_cast<uint8_t>(0x10 + kModes[std::min<size_t>(ledStatus, kModes.size() - 1)]);
}

void ComposeDpiLevel(ReportBuffer& b, int32_t dpiLevel, uint8_t dpiCode, int level, uint8_t enabledMask) {
    b[0] = kFeatureReportId;
    b[1] = command::kDpiLevel;
    b[2] = static_cast<uint8_t>(0x40 + dpiLevel);
    b[3] = static_cast<uint8_t>(dpiCode * 16 + 8 + level);
    b[4] = enabledMask;
}

void ComposeButtonFunction(ReportBuffer& b, uint8_t deviceButton, uint8_t functionValue) {
    b[0] = kFeatureReportId;
    b[1] = command::kButtonFunction;
    b[2] = deviceButton;
    b[3] = functionValue;
}

void ComposeWheelStatus(ReportBuffer& b, int32_t wheelStatus) {
    b[1] = command::kWheelStatus;
    b[2] = static_cast<uint8_t>(wheelStatus);
    b[3] = 0;
}

void ComposeFireTime(ReportBuffer& b, int32_t fireTime) {
    const auto q = static_cast<uint16_t>(fireTime / 8);
    b[0] = kFeatureReportId;
    b[1] = command::kFireTime;
    b[2] = static_cast<uint8_t>(q >> 8);
    b[3] = static_cast<uint8_t>(q & 0xFF);
    std::fill(b.begin() + 4, b.begin() + 8, uint8_t{0});
}

void ComposeLighting(ReportBuffer& b, uint8_t ledStatus) {
    b[0] = kFeatureReportId;
    b[1] = command::kLighting;
    b[2] = 0x7F;
    b[3] = LightingCode(ledStatus);
}

void ComposeHeldKeys(ReportBuffer& b, std::span<const uint8_t, 6> heldKeys) {
    b[0] = kFeatureReportId;
    b[1] = command::kHeldKeys;
    std::copy(heldKeys.begin(), heldKeys.end(), b.begin() + 2);
}

void ComposeMouseButtons(ReportBuffer& b, uint8_t mouseButtonMask) {
    b[0] = kFeatureReportId;
    b[1] = command::kMouseButtons;
    b[3] = mouseButtonMask;
}

void ComposeConsumerUsage(ReportBuffer& b, uint16_t usage) {
    b[1] = command::kConsumerUsage;
    b[2] = static_cast<uint8_t>(usage >> 8);
    b[3] = static_cast<uint8_t>(usage & 0xFF);
}

void ComposeGoodbye(ReportBuffer& b) {
    b[0] = kFeatureReportId;
    b[1] = command::kGoodbye;
    b[2] = 0;
    b[3] = 0;
}

}  // namespace orv
