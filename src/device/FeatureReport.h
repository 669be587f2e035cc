#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>

namespace orv {

class DeviceLink;

// Every report the program sends is feature report 7, one command per report. The mouse's
// own number for each of the six programmable buttons, in the order of buttonFunction; the
// same numbers come back in input reports as 0xF0 plus the number.
inline constexpr uint8_t kFeatureReportId = 7;
inline constexpr std::array<uint8_t, 6> DeviceButtonCode{1, 3, 2, 5, 4, 6};

namespace command {
inline constexpr uint8_t kDpiLevel = 0x09;
inline constexpr uint8_t kButtonFunction = 0x10;
inline constexpr uint8_t kWheelStatus = 0x11;
inline constexpr uint8_t kFireTime = 0x12;
inline constexpr uint8_t kLighting = 0x13;
inline constexpr uint8_t kHeldKeys = 0x15;
inline constexpr uint8_t kMouseButtons = 0x16;
inline constexpr uint8_t kConsumerUsage = 0x17;
inline constexpr uint8_t kGoodbye = 0x20;
}  // namespace command

// The one outgoing buffer. The mouse receives, in the bytes a command does not write, whatever
// earlier reports left there; the layouts below write exactly their own bytes and no more.
using ReportBuffer = std::array<uint8_t, 256>;

// The lighting value (0x10 + m) for ledStatus 0..3; a hand-edited value above 3 counts as 3.
uint8_t LightingCode(uint8_t ledStatus);

// Layouts. Each writes only the bytes listed in its comment.
// 0..4: 7, 0x09, 0x40 + dpiLevel, dpiCode * 16 + 8 + level, enabled-level mask.
void ComposeDpiLevel(ReportBuffer& b, int32_t dpiLevel, uint8_t dpiCode, int level, uint8_t enabledMask);
// 0..3: 7, 0x10, device button number, device function value.
void ComposeButtonFunction(ReportBuffer& b, uint8_t deviceButton, uint8_t functionValue);
// 1..3: 0x11, wheelStatus, 0 (byte 0 is left holding 7 from earlier reports).
void ComposeWheelStatus(ReportBuffer& b, int32_t wheelStatus);
// 0..7: 7, 0x12, high and low byte of fireTime / 8, four zeros.
void ComposeFireTime(ReportBuffer& b, int32_t fireTime);
// 0..3: 7, 0x13, 0x7F, LightingCode(ledStatus).
void ComposeLighting(ReportBuffer& b, uint8_t ledStatus);
// 0..7: 7, 0x15, the six held keyboard usages.
void ComposeHeldKeys(ReportBuffer& b, std::span<const uint8_t, 6> heldKeys);
// 0, 1, 3: 7, 0x16, the active-low button mask; byte 2 keeps what the previous report left.
void ComposeMouseButtons(ReportBuffer& b, uint8_t mouseButtonMask);
// 1..3: 0x17, usage high byte, usage low byte.
void ComposeConsumerUsage(ReportBuffer& b, uint16_t usage);
// 0..3: 7, 0x20, 0, 0.
void ComposeGoodbye(ReportBuffer& b);

// The process's feature-report sender. The window thread and the playback thread both send
// through it; compose and send are one step under one lock, so neither thread's bytes can end
// up in the other's report, while the carried-over bytes still come from whichever report was
// sent last. Every Send returns the send's result (false when the mouse is absent).
class FeatureReport {
public:
    explicit FeatureReport(DeviceLink& link);

    bool SendDpiLevel(int32_t dpiLevel, uint8_t dpiCode, int level, uint8_t enabledMask);
    bool SendButtonFunction(uint8_t deviceButton, uint8_t functionValue);
    bool SendWheelStatus(int32_t wheelStatus);
    bool SendFireTime(int32_t fireTime);
    bool SendLighting(uint8_t ledStatus);
    bool SendHeldKeys(std::span<const uint8_t, 6> heldKeys);
    bool SendMouseButtons(uint8_t mouseButtonMask);
    bool SendConsumerUsage(uint16_t usage);
    bool SendGoodbye();

    // Composes with the given layout and sends, as one step.
    bool Send(const std::function<void(ReportBuffer&)>& compose);
    // A copy of the buffer as the last report left it.
    ReportBuffer Contents() const;

private:
    DeviceLink& link_;
    mutable std::mutex mutex_;
    ReportBuffer buffer_{};
};

}  // namespace orv
