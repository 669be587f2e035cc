#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/DeviceLink.h"
#include "platform/WindowMessages.h"

namespace orv {
namespace {

void PutU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// A broadcast laid out as the system sends it: size, type, reserved, class GUID, UTF-16 name.
std::vector<uint8_t> Broadcast(uint32_t deviceType, std::u16string_view name, bool terminated = true) {
    std::vector<uint8_t> bytes(28 + 2 * (name.size() + (terminated ? 1 : 0)), 0);
    PutU32(bytes, 0, static_cast<uint32_t>(bytes.size()));
    PutU32(bytes, 4, deviceType);
    for (size_t i = 0; i < 16; ++i) {
        bytes[12 + i] = static_cast<uint8_t>(0xA0 + i);
    }
    for (size_t i = 0; i < name.size(); ++i) {
        bytes[28 + 2 * i] = static_cast<uint8_t>(name[i]);
        bytes[28 + 2 * i + 1] = static_cast<uint8_t>(name[i] >> 8);
    }
    return bytes;
}

intptr_t Address(const std::vector<uint8_t>& bytes) { return reinterpret_cast<intptr_t>(bytes.data()); }

constexpr char16_t kPath[] = u"\\\\?\\hid#vid_2f3a&pid_0c51&mi_01#7&1a2b&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
constexpr char kStoredPath[] =
    "\\\\?\\HID#VID_2F3A&PID_0C51&MI_01#7&1A2B&0&0000#{4D1E55B2-F16F-11CF-88CB-001111000030}";

TEST(WindowMessages, EveryPowerBroadcastAppliesAgain) {
    for (uintptr_t type : {0x4u, 0x7u, 0xAu, 0x12u, 0x8013u}) {
        EXPECT_EQ(DecodeWindowMessage(kWmPowerBroadcast, type, 0).kind, WindowEventKind::Power) << type;
    }
    EXPECT_EQ(DecodeWindowMessage(0x0100, 0x41, 0).kind, WindowEventKind::Other);
}

// A logoff or shutdown ends the process right after WM_ENDSESSION is answered; a FALSE one only
// says the end was called off.
TEST(WindowMessages, OnlyAnEndSessionThatHappensEndsTheUtility) {
    EXPECT_EQ(DecodeWindowMessage(kWmEndSession, 1, 0).kind, WindowEventKind::SessionEnding);
    EXPECT_EQ(DecodeWindowMessage(kWmEndSession, 1, 0x80000000).kind, WindowEventKind::SessionEnding);
    EXPECT_EQ(DecodeWindowMessage(kWmEndSession, 0, 0).kind, WindowEventKind::Other);
}

TEST(WindowMessages, DecodesInterfaceArrivalAndRemoval) {
    const std::vector<uint8_t> broadcast = Broadcast(kDbtDevtypDeviceInterface, kPath);
    const WindowEvent arrival = DecodeWindowMessage(kWmDeviceChange, kDbtDeviceArrival, Address(broadcast));
    EXPECT_EQ(arrival.kind, WindowEventKind::DeviceArrival);
    EXPECT_TRUE(arrival.deviceInterface);
    EXPECT_TRUE(SamePathIgnoringCase(arrival.interfaceName, kStoredPath));

    const WindowEvent removal = DecodeWindowMessage(kWmDeviceChange, kDbtDeviceRemoveComplete, Address(broadcast));
    EXPECT_EQ(removal.kind, WindowEventKind::DeviceRemoval);
    EXPECT_TRUE(SamePathIgnoringCase(removal.interfaceName, kStoredPath));
    EXPECT_FALSE(SamePathIgnoringCase(removal.interfaceName, "\\\\?\\HID#VID_2F3A&PID_0C51&MI_00#other"));
    EXPECT_FALSE(SamePathIgnoringCase(removal.interfaceName, ""));
}

TEST(WindowMessages, OtherDevicesAndEventsAreNotOurs) {
    // A volume (type 2) with the mouse's path in the same place, and events the program ignores.
    const std::vector<uint8_t> volume = Broadcast(2, kPath);
    const WindowEvent removal = DecodeWindowMessage(kWmDeviceChange, kDbtDeviceRemoveComplete, Address(volume));
    EXPECT_EQ(removal.kind, WindowEventKind::DeviceRemoval);
    // The window hands only interface events to the device link.
    EXPECT_FALSE(removal.deviceInterface);
    EXPECT_EQ(removal.interfaceName, "");

    const std::vector<uint8_t> ours = Broadcast(kDbtDevtypDeviceInterface, kPath);
    for (uintptr_t event : {0x0007u, 0x8001u, 0x8003u, 0x8006u}) {
        EXPECT_EQ(DecodeWindowMessage(kWmDeviceChange, event, Address(ours)).kind, WindowEventKind::Other) << event;
    }
    EXPECT_FALSE(DecodeWindowMessage(kWmDeviceChange, kDbtDeviceRemoveComplete, 0).deviceInterface);
}

TEST(WindowMessages, NameIsBoundedByTheBroadcastSize) {
    const std::vector<uint8_t> unterminated = Broadcast(kDbtDevtypDeviceInterface, u"\\\\?\\hid#abc", false);
    EXPECT_EQ(DecodeDeviceChange(kDbtDeviceArrival, unterminated).interfaceName, "\\\\?\\hid#abc");
    // Bytes beyond the size the header states are never read as part of the name.
    std::vector<uint8_t> followed = unterminated;
    followed.insert(followed.end(), {'X', 0, 'Y', 0, 0, 0});
    EXPECT_EQ(DecodeWindowMessage(kWmDeviceChange, kDbtDeviceArrival, Address(followed)).interfaceName,
              "\\\\?\\hid#abc");

    std::vector<uint8_t> headerOnly = Broadcast(kDbtDevtypDeviceInterface, u"x");
    headerOnly.resize(12);
    EXPECT_EQ(DecodeDeviceChange(kDbtDeviceArrival, headerOnly).interfaceName, "");
    headerOnly.resize(8);
    EXPECT_FALSE(DecodeDeviceChange(kDbtDeviceArrival, headerOnly).deviceInterface);
}

TEST(WindowMessages, NonAsciiNamesSurviveAndCaseFoldsOnlyAscii) {
    const std::vector<uint8_t> broadcast = Broadcast(kDbtDevtypDeviceInterface, u"\\\\?\\hid#é鼠");
    const WindowEvent event = DecodeDeviceChange(kDbtDeviceArrival, broadcast);
    EXPECT_EQ(event.interfaceName, "\\\\?\\hid#é鼠");
    EXPECT_TRUE(SamePathIgnoringCase(event.interfaceName, "\\\\?\\HID#é鼠"));
}

}  // namespace
}  // namespace orv
