#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/IniFile.h"
#include "common/Utf.h"
#include "fakes/RecordingMessages.h"
#include "macro/KeyCodes.h"
#include "macro/MacroFile.h"
#include "settings/ConfigFile.h"
#include "skin/SkinLayout.h"

namespace orv {
namespace {

const std::filesystem::path kData = std::filesystem::path(ORV_SOURCE_DIR) / "data";

using Messages = test::RecordingMessages;

std::string Bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> ProfileSections() {
    return {"Config1",   "Config2",   "Config3",   "Config4",   "Config5",
            "CfgReset2", "CfgReset3", "CfgReset4", "CfgReset5", "CfgReset_EN5"};
}

ProfileSettings LoadSection(const std::string& section) {
    // LoadProfile picks sections by number; the reset ones are reached through fromReset.
    ProfileSettings s;
    const std::filesystem::path file = kData / "config.ini";
    if (section.rfind("Config", 0) == 0) {
        LoadProfile(file, section.back() - '0', false, Language::Chinese(), s);
    } else if (section == "CfgReset_EN5") {
        LoadProfile(file, 5, true, Language::English(), s);
    } else {
        LoadProfile(file, section.back() - '0', true, Language::Chinese(), s);
    }
    return s;
}

TEST(DeliveredConfig, StartsOnProfileOneWithTheFactoryValues) {
    const std::filesystem::path file = kData / "config.ini";
    EXPECT_EQ(LoadCurrentProfile(file), 1);
    const Language language = LoadLanguage(file);
    EXPECT_TRUE(language == Language::English() || language == Language::Chinese());
    EXPECT_EQ(ini::Read(file, "Init", "VER_SEL", 5), std::to_string(language.Setting()));

    ProfileSettings factory;
    SetFactorySettings(factory);
    EXPECT_EQ(ProfileKeyValues(LoadSection("Config1")), ProfileKeyValues(factory));
}

TEST(DeliveredConfig, SectionsHoldEveryKeyInTheOrderSaveProfileWrites) {
    const std::string text = Bytes(kData / "config.ini");
    for (const std::string& section : ProfileSections()) {
        const size_t start = text.find("[" + section + "]");
        ASSERT_NE(start, std::string::npos) << section;
        const size_t end = text.find('[', start + 1);
        const std::string body = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::string expected = "[" + section + "]";
        size_t at = 0;
        for (const auto& [key, value] : ProfileKeyValues(LoadSection(section))) {
            const std::string line = key + "=" + value;
            const size_t found = body.find("\n" + line + "\r\n", at);
            const size_t foundLf = body.find("\n" + line + "\n", at);
            const size_t pos = std::min(found, foundLf);
            ASSERT_NE(pos, std::string::npos) << section << ": " << line << " missing or out of order";
            at = pos + 1;
        }
    }
}

// What the editing controls guarantee, so a fresh installation starts in a state the
// window could have produced.
TEST(DeliveredConfig, PresetsAreValidAndDistinct) {
    const int offered[] = {1,  2,  3,  4,  5,  6,  11, 12, 13, 14, 15, 16, 21, 22, 23, 24, 25,
                           26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 41, 42, 43, 44};
    const std::set<int> menuCodes(std::begin(offered), std::end(offered));
    std::set<std::vector<std::pair<std::string, std::string>>> resets;
    for (const std::string& section : ProfileSections()) {
        SCOPED_TRACE(section);
        const ProfileSettings s = LoadSection(section);
        bool leftClick = false;
        for (int32_t code : s.buttonFunction) {
            EXPECT_TRUE(menuCodes.count(code)) << "code " << code;
            leftClick = leftClick || code == 1;
        }
        EXPECT_TRUE(leftClick);
        ASSERT_TRUE(s.dpiLevel >= 0 && s.dpiLevel <= 3);
        EXPECT_EQ(s.dpiEnabled[static_cast<size_t>(s.dpiLevel.load())], 1);
        for (uint8_t step : s.dpiStep) {
            EXPECT_LE(step, 11);
        }
        EXPECT_LE(s.ledStatus, 3);
        EXPECT_LE(s.pointerSpeed, 9);
        EXPECT_LE(s.wheelSpeed, 9);
        EXPECT_TRUE(s.wheelStatus == 0 || s.wheelStatus == 1);
        EXPECT_TRUE(s.fireTime >= 0 && s.fireTime <= 300);
        EXPECT_LE(s.reportRate, 3);
        EXPECT_EQ(s.macroMode, 0);
        if (section.rfind("CfgReset", 0) == 0) {
            EXPECT_TRUE(resets.insert(ProfileKeyValues(s)).second) << "same as another reset section";
        }
    }
    ProfileSettings factory;
    SetFactorySettings(factory);
    EXPECT_FALSE(resets.count(ProfileKeyValues(factory))) << "a reset section repeats profile 1";
    // A fresh installation is what a factory reset in the installed language gives.
    const Language language = LoadLanguage(kData / "config.ini");
    for (int n = 2; n <= 5; ++n) {
        ProfileSettings reset;
        LoadProfile(kData / "config.ini", n, true, language, reset);
        EXPECT_EQ(ProfileKeyValues(LoadSection("Config" + std::to_string(n))), ProfileKeyValues(reset)) << n;
    }
}

TEST(DeliveredConfig, MacroButtonsOfTheResetsNameExistingFactoryMacros) {
    for (const Language language : {Language::Chinese(), Language::English()}) {
        auto store = std::make_unique<MacroStore>();
        Messages messages;
        LoadMacroFile(kData / "skins" / (language == Language::English() ? "INI_EN" : "INI_CN") / "defMacro.dat",
                      MacroTarget::User, *store, messages);
        for (int n = 2; n <= 5; ++n) {
            ProfileSettings s;
            LoadProfile(kData / "config.ini", n, true, language, s);
            for (int32_t code : s.buttonFunction) {
                if (code >= 41) {
                    EXPECT_LT(code - 41, store->macroCount)
                        << "profile " << n << " language " << int{language.Setting()};
                }
            }
        }
    }
}

// Every key a macro presses it also releases, so playing it never leaves a key held.
void ExpectBalanced(const MacroSlot& slot, const std::string& name) {
    std::multiset<uint8_t> held;
    EXPECT_GT(slot.eventCount(), 0) << name;
    for (size_t k = 0; k < slot.eventCount(); ++k) {
        const uint8_t key = slot.EventKey(k);
        EXPECT_NE(KeyName(key), "NON-AVAILABLE") << name << " event " << k;
        if (slot.EventAction(k) == MacroSlot::kPress) {
            held.insert(key);
        } else {
            ASSERT_EQ(slot.EventAction(k), MacroSlot::kRelease) << name;
            ASSERT_TRUE(held.count(key)) << name << " releases a key it never pressed";
            held.erase(held.find(key));
        }
    }
    EXPECT_TRUE(held.empty()) << name << " leaves keys held";
}

TEST(DeliveredMacros, ConstantMacrosAreTheEightTheMenuNames) {
    auto store = std::make_unique<MacroStore>();
    Messages messages;
    ASSERT_EQ(LoadMacroFile(kData / "constMacro.dat", MacroTarget::Constant, *store, messages), ini::FileState::Read);
    EXPECT_EQ(ini::Read(kData / "constMacro.dat", "Macros", "macroNum", 3), "8");
    SkinLayout english;
    ASSERT_TRUE(LoadMainSkin(kData / "skins", Language::English(), english, messages, "ORV_GMouse"));
    for (int c = 0; c < 8; ++c) {
        const MacroSlot& slot = store->Constant(c);
        EXPECT_EQ(Utf16ToUtf8(slot.name()), english.FunctionNames[static_cast<size_t>(31 + c)]);
        ExpectBalanced(slot, Utf16ToUtf8(slot.name()));
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST(DeliveredMacros, FactoryAndUserMacrosOfEachLanguage) {
    const struct {
        const char* factory;
        const char* user;
        std::vector<std::string> names;
    } languages[] = {
        {"skins/INI_EN/defMacro.dat", "Macro_EN.dat", {"Burst Fire", "Screenshot", "New Tab", "Type GG"}},
        {"skins/INI_CN/defMacro.dat", "Macro_CN.dat", {"三连发", "截图", "新建标签页", "发送 GG"}},
    };
    for (const auto& l : languages) {
        // The user file of a fresh installation is the factory file.
        EXPECT_EQ(Bytes(kData / l.user), Bytes(kData / l.factory)) << l.user;
        auto store = std::make_unique<MacroStore>();
        Messages messages;
        ASSERT_EQ(LoadMacroFile(kData / l.factory, MacroTarget::User, *store, messages), ini::FileState::Read);
        ASSERT_EQ(store->macroCount, static_cast<int16_t>(l.names.size()));
        EXPECT_EQ(store->selectedMacro, store->macroCount - 1);
        for (size_t i = 0; i < l.names.size(); ++i) {
            const MacroSlot& slot = store->User(static_cast<int>(i));
            EXPECT_EQ(Utf16ToUtf8(slot.name()), l.names[i]);
            EXPECT_GE(slot.repeatCount(), 1);
            ExpectBalanced(slot, l.names[i]);
        }
        // The first one shows the repeat setting.
        EXPECT_EQ(store->User(0).repeatOn(), 1);
        EXPECT_EQ(store->User(0).repeatCount(), 3);
    }
}

}  // namespace
}  // namespace orv
