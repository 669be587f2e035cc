#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "device/DeviceLink.h"
#include "device/SimulatedMouse.h"

namespace orv {
namespace {

// HID interfaces as listed, with handles that tell which interface they belong to and count
// how many of them are open.
class FakeTransport : public HidTransport {
public:
    class Handle : public HidHandle {
    public:
        Handle(FakeTransport& t, std::string path) : t_(t), path_(std::move(path)) { ++t_.openHandles; }
        ~Handle() override { --t_.openHandles; }
        bool SendFeatureReport(std::span<const uint8_t>) override {
            t_.sentOn.push_back(path_);
            return true;
        }
        HidReadResult ReadInputReport(std::span<uint8_t>) override {
            t_.readOn.push_back(path_);
            return HidReadResult::Ok;
        }
        void CancelRead() override {}

    private:
        FakeTransport& t_;
        std::string path_;
    };

    void Add(const std::string& path, uint16_t usagePage, uint16_t vendor = 0x2F3A, bool accessDenied = false) {
        HidCollectionInfo info{path, vendor, 0x0C51, {usagePage, 1, 8, 8}};
        info.accessDenied = accessDenied;
        collections.push_back(info);
    }
    void AddOthers(int count) {
        for (int i = 0; i < count; ++i) {
            Add("other" + std::to_string(i), 0x0001, 0x046D);
        }
    }

    std::vector<HidCollectionInfo> Enumerate(size_t) override {
        ++enumerations;
        return collections;  // more than asked for: the link must stop at its own limit
    }
    std::unique_ptr<HidHandle> Open(const HidCollectionInfo& c, HidAccess) override {
        openedWith.push_back(openHandles);
        opened.push_back(c.path);
        if (failOpen.count(c.path) != 0) {
            return nullptr;
        }
        return std::make_unique<Handle>(*this, c.path);
    }

    std::vector<HidCollectionInfo> collections;
    std::map<std::string, bool> failOpen;
    std::vector<std::string> opened;
    std::vector<int> openedWith;  // open handles at the moment of each Open
    std::vector<std::string> sentOn;
    std::vector<std::string> readOn;
    int openHandles = 0;
    int enumerations = 0;
};

constexpr uint16_t kRead = 0xFF00;
constexpr uint16_t kWrite = 0xFF01;

TEST(FindDevice, OpensBothCollectionsAndStopsThere) {
    FakeTransport t;
    t.AddOthers(3);
    t.Add("mouse-in", kRead);
    t.Add("mouse-out", kWrite);
    t.Add("mouse-late", kRead);
    DeviceLink link(t);
    EXPECT_TRUE(link.FindDevice());
    EXPECT_EQ(link.DevicePath(), "mouse-out");
    EXPECT_EQ(t.opened, (std::vector<std::string>{"mouse-in", "mouse-out"}));
    EXPECT_EQ(link.ReadCaps().inputReportLength, 8);
    EXPECT_EQ(link.WriteCaps().featureReportLength, 8);
}

TEST(FindDevice, ResultIsThatOfTheLastInterfaceExamined) {
    FakeTransport t;
    t.Add("mouse-in", kRead);
    t.AddOthers(2);
    DeviceLink link(t);
    EXPECT_FALSE(link.FindDevice());
    // What was found stays: the path and the read handle.
    EXPECT_EQ(link.DevicePath(), "mouse-in");
    EXPECT_EQ(link.ReadHandleState(), HandleState::Open);
    EXPECT_EQ(link.WriteHandleState(), HandleState::None);
}

TEST(FindDevice, ExaminesAtMostOneHundredInterfaces) {
    FakeTransport t;
    t.AddOthers(99);
    t.Add("mouse-in", kRead);    // index 99, the last one examined
    t.Add("mouse-out", kWrite);  // index 100, never examined
    DeviceLink link(t);
    EXPECT_TRUE(link.FindDevice());
    EXPECT_EQ(link.DevicePath(), "mouse-in");
    EXPECT_EQ(link.WriteHandleState(), HandleState::None);

    t.collections.erase(t.collections.begin() + 98);  // the mouse moves to indices 98 and 99
    EXPECT_TRUE(link.FindDevice());
    EXPECT_EQ(link.WriteHandleState(), HandleState::Open);
}

TEST(FindDevice, TwoMiceGiveTheLastCollectionOfEachKindBeforeBothAreHeld) {
    FakeTransport t;
    t.Add("a-in", kRead);
    t.Add("b-in", kRead);
    t.Add("a-out", kWrite);
    t.Add("b-out", kWrite);
    DeviceLink link(t);
    ASSERT_TRUE(link.FindDevice());
    EXPECT_EQ(link.DevicePath(), "a-out");
    link.SendFeatureReport(std::vector<uint8_t>{7, 0x20});
    std::vector<uint8_t> buffer(8);
    link.ReadInputReport(buffer);
    EXPECT_EQ(t.sentOn, (std::vector<std::string>{"a-out"}));
    EXPECT_EQ(t.readOn, (std::vector<std::string>{"b-in"}));
    EXPECT_EQ(t.openHandles, 2);  // a-in was closed when b-in replaced it
}

TEST(FindDevice, ACollectionThatCannotBeOpenedCountsAsHeld) {
    FakeTransport t;
    t.Add("mouse-in", kRead);
    t.Add("mouse-out", kWrite, 0x2F3A, /*accessDenied=*/true);
    t.Add("mouse-out-2", kWrite);
    t.failOpen["mouse-out"] = true;
    DeviceLink link(t);
    EXPECT_TRUE(link.FindDevice());
    EXPECT_EQ(link.DevicePath(), "mouse-out");
    EXPECT_EQ(link.WriteHandleState(), HandleState::Invalid);
    EXPECT_TRUE(link.AccessDenied());
    EXPECT_FALSE(link.SendFeatureReport(std::vector<uint8_t>{7, 0x20}));
}

TEST(FindDevice, RediscoveryClosesEarlierHandlesFirst) {
    FakeTransport t;
    t.Add("mouse-in", kRead);
    t.Add("mouse-out", kWrite);
    DeviceLink link(t);
    ASSERT_TRUE(link.FindDevice());
    ASSERT_TRUE(link.FindDevice());
    EXPECT_EQ(t.openedWith, (std::vector<int>{0, 1, 0, 1}));
    EXPECT_EQ(t.openHandles, 2);
}

TEST(DeviceChange, OnlyOurInterfaceCountsWhateverItsLetterCase) {
    FakeTransport t;
    t.Add(R"(\\?\hid#vid_2f3a&pid_0c51&col01#7&1)", kRead);
    t.Add(R"(\\?\hid#vid_2f3a&pid_0c51&col02#7&1)", kWrite);
    DeviceLink link(t);
    int exits = 0;
    link.SetExitDriver([&] { ++exits; });
    ASSERT_TRUE(link.FindDevice());

    EXPECT_TRUE(link.IsOurInterface(R"(\\?\HID#VID_2F3A&PID_0C51&COL02#7&1)"));
    EXPECT_FALSE(link.IsOurInterface(R"(\\?\hid#vid_2f3a&pid_0c51&col01#7&1)"));

    link.HandleDeviceChange(DeviceChange::Removal, "some other device");
    link.HandleDeviceChange(DeviceChange::Arrival, R"(\\?\HID#VID_2F3A&PID_0C51&COL02#7&1)");
    EXPECT_EQ(exits, 0);
    EXPECT_EQ(t.enumerations, 1);  // present: an arrival re-discovers nothing

    link.HandleDeviceChange(DeviceChange::Removal, R"(\\?\HID#VID_2F3A&PID_0C51&COL02#7&1)");
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(link.DevicePresent());
}

TEST(DeviceChange, SimulatedReplugRediscoversAndUnplugEndsTheProgram) {
    SimulatedMouse mouse;
    DeviceLink link(mouse);
    int exits = 0;
    link.SetExitDriver([&] { ++exits; });
    mouse.Start([&](DeviceChange change, std::string_view path) { link.HandleDeviceChange(change, path); });
    ASSERT_TRUE(link.FindDevice());
    EXPECT_EQ(link.DevicePath(), SimulatedMouse::kFeaturePath);

    mouse.Unplug();
    EXPECT_EQ(exits, 1);  // one removal notice per collection; only the stored path counts
    EXPECT_FALSE(link.SendFeatureReport(std::vector<uint8_t>(8, 7)));

    mouse.Plug();
    EXPECT_TRUE(link.DevicePresent());
    EXPECT_TRUE(link.SendFeatureReport(std::vector<uint8_t>(8, 7)));
    mouse.Stop();
}

}  // namespace
}  // namespace orv
