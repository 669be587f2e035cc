#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "common/TempFolder.h"
#include "common/Texts.h"
#include "fakes/RecordingMessages.h"
#include "skin/SkinLayout.h"

namespace orv {
namespace {

using Messages = test::RecordingMessages;

constexpr std::string_view kCaption = "ORV_GMouse";

// A minimal skin of one language: every file present, a few entries of each.
class SkinFolder {
public:
    explicit SkinFolder(const test::TempFolder& temp) : root_(temp.Path() / "skins") {
        std::filesystem::create_directories(root_ / "INI_EN");
        std::filesystem::create_directories(root_ / "INI_CN");
    }
    void Write(SkinFile role, int language, const std::string& text) const {
        test::WriteBytes(SkinFilePath(root_, role, Language::FromSetting(language)), text);
    }
    void WriteAll(int language) const {
        Write(SkinFile::Main, language,
              "[BUTTONPOS]\r\n0=560,552,100,30,SAVE,\r\n25=24,150,160,30,,\r\n"
              "[FUN_STRING]\r\n1=Left Click,\r\n2=Right Click\r\n3=Copy,ignored,\r\n");
        Write(SkinFile::Color, language, "[BUTTONPOS]\n11=430,140,320,300,,\n");
        Write(SkinFile::Advanced, language,
              "[BUTTONPOS]\n4=28,442,170,28,Record,\n[EDIT]\n1=1,1,1,1,\n3=100,200,50,20,\n4=78,144,182,24,\n"
              "[MACRODISPLAY]\n1=28,202,170,234,\n2=-5,3,10,10,,\n");
        Write(SkinFile::Warning, language, "[BUTTONPOS]\n0=50,100,120,34,CONFIRM,\n2=20,30,340,44,Sure?,\n");
    }
    const std::filesystem::path& Root() const { return root_; }

private:
    std::filesystem::path root_;
};

TEST(SkinLoaders, FillEveryTableFromTheLanguagesFiles) {
    test::TempFolder temp;
    SkinFolder skin(temp);
    skin.WriteAll(1);
    SkinLayout layout;
    layout.MainRegions[1] = SkinRegion{1, 2, 3, 4, "stale"};
    Messages messages;

    ASSERT_TRUE(LoadSkin(skin.Root(), Language::English(), layout, messages, kCaption));

    EXPECT_TRUE(messages.shown.empty());
    const SkinRegion& save = layout.MainRegions[0];
    EXPECT_EQ((std::tuple{save.x, save.y, save.width, save.height, save.label}),
              (std::tuple{560, 552, 100, 30, std::string("SAVE")}));
    // A missing key replaces what an earlier load left with an empty region.
    EXPECT_EQ(layout.MainRegions[1].width, 0);
    EXPECT_EQ(layout.MainRegions[1].label, "");
    EXPECT_EQ(layout.FunctionNames[0], "");
    EXPECT_EQ(layout.FunctionNames[1], "Left Click");
    EXPECT_EQ(layout.FunctionNames[2], "Right Click");
    EXPECT_EQ(layout.FunctionNames[3], "Copy");
    EXPECT_EQ(layout.FunctionNames[54], "");
    EXPECT_EQ(layout.ColorRegions[11].height, 300);
    EXPECT_EQ(layout.AdvancedRegions[4].label, "Record");
    EXPECT_EQ(layout.WarningRegions[2].label, "Sure?");

    // EDIT 3, EDIT 4, MACRODISPLAY 1 and 2, stored as right and bottom edges.
    const auto rect = [](const SkinRect& r) { return std::tuple{r.left, r.top, r.right, r.bottom}; };
    EXPECT_EQ(rect(layout.ControlRects[0]), (std::tuple{100, 200, 150, 220}));
    EXPECT_EQ(rect(layout.ControlRects[1]), (std::tuple{78, 144, 260, 168}));
    EXPECT_EQ(rect(layout.ControlRects[2]), (std::tuple{28, 202, 198, 436}));
    EXPECT_EQ(rect(layout.ControlRects[3]), (std::tuple{-5, 3, 5, 13}));
}

TEST(SkinLoaders, ReadTheFolderOfTheLanguage) {
    test::TempFolder temp;
    SkinFolder skin(temp);
    skin.WriteAll(0);
    skin.Write(SkinFile::Main, 0, "[BUTTONPOS]\n0=1,2,3,4,保存,\n[FUN_STRING]\n1=左键单击,\n");
    Messages messages;
    SkinLayout layout;

    // Only the Chinese folder exists: Chinese reads it, and a hand-edited 2 counts as English.
    EXPECT_TRUE(LoadSkin(skin.Root(), Language::Chinese(), layout, messages, kCaption));
    EXPECT_EQ(layout.MainRegions[0].label, "保存");
    EXPECT_EQ(layout.FunctionNames[1], "左键单击");
    EXPECT_TRUE(messages.shown.empty());

    EXPECT_EQ(SkinFilePath(skin.Root(), SkinFile::Advanced, Language::English()),
              skin.Root() / "INI_EN" / "skin_advance_en.ini");
    EXPECT_EQ(SkinFilePath(skin.Root(), SkinFile::Advanced, Language::FromSetting(2)),
              skin.Root() / "INI_EN" / "skin_advance_en.ini");
    EXPECT_EQ(SkinFilePath(skin.Root(), SkinFile::Warning, Language::Chinese()),
              skin.Root() / "INI_CN" / "LBWarning.ini");
}

TEST(SkinLoaders, StopAtTheFirstMissingFileWithOneMessage) {
    test::TempFolder temp;
    SkinFolder skin(temp);
    skin.WriteAll(1);
    std::filesystem::remove(SkinFilePath(skin.Root(), SkinFile::Color, Language::English()));
    std::filesystem::remove(SkinFilePath(skin.Root(), SkinFile::Warning, Language::English()));
    Messages messages;
    SkinLayout layout;

    EXPECT_FALSE(LoadSkin(skin.Root(), Language::English(), layout, messages, kCaption));

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, kCaption);
    EXPECT_EQ(messages.shown[0].second, Text(TextId::FileMissing, {}));
    // Nothing after the missing colour file was read.
    EXPECT_EQ(layout.AdvancedRegions[4].label, "");
    EXPECT_EQ(layout.MainRegions[0].label, "SAVE");
}

TEST(SkinLoaders, AnEntryWithTooManyCommasWarnsOnceAndIsStillUsed) {
    test::TempFolder temp;
    SkinFolder skin(temp);
    skin.WriteAll(1);
    skin.Write(SkinFile::Warning, 1, "[BUTTONPOS]\n0=1,2,3,4,OK,x,y,\n1=5,6,7,8,NO,\n");
    Messages messages;
    SkinLayout layout;

    EXPECT_TRUE(LoadWarningSkin(skin.Root(), Language::English(), layout, messages, kCaption));

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].second, Text(TextId::SkinEntryError, {}));
    EXPECT_EQ(messages.shown[0].first, kCaption);
    EXPECT_EQ(layout.WarningRegions[0].label, "OK");
    EXPECT_EQ(layout.WarningRegions[0].height, 4);
    EXPECT_EQ(layout.WarningRegions[1].label, "NO");
}

TEST(SkinLoaders, ValuesAreCutAfter259Characters) {
    test::TempFolder temp;
    SkinFolder skin(temp);
    skin.WriteAll(1);
    const std::string prefix = "1,2,3,4,";
    // 259 characters keep the second label's closing comma; the first label's comma falls
    // beyond the cut, so that label is lost.
    skin.Write(SkinFile::Warning, 1,
               "[BUTTONPOS]\n0=" + prefix + std::string(260, 'a') + ",\n1=" + prefix + std::string(250, 'b') + ",\n");
    Messages messages;
    SkinLayout layout;

    EXPECT_TRUE(LoadWarningSkin(skin.Root(), Language::English(), layout, messages, kCaption));

    EXPECT_EQ(layout.WarningRegions[0].label, "");
    EXPECT_EQ(layout.WarningRegions[0].height, 4);
    EXPECT_EQ(layout.WarningRegions[1].label, std::string(250, 'b'));
}

TEST(SkinRegion, CoversItsLeftAndTopEdgesButNotItsRightAndBottom) {
    const SkinRegion r{10, 20, 5, 3, ""};
    EXPECT_TRUE(r.Contains(10, 20));
    EXPECT_TRUE(r.Contains(14, 22));
    EXPECT_FALSE(r.Contains(15, 22));
    EXPECT_FALSE(r.Contains(14, 23));
    EXPECT_FALSE(r.Contains(9, 20));
    EXPECT_FALSE(SkinRegion{}.Contains(0, 0));
    // Hand-edited extremes: the distance from the edge does not fit in 32 bits.
    EXPECT_FALSE((SkinRegion{INT32_MIN, 0, 10, 10, ""}.Contains(0, 0)));
    EXPECT_FALSE((SkinRegion{0, INT32_MIN, 10, 10, ""}.Contains(0, 5)));
    EXPECT_TRUE((SkinRegion{INT32_MAX - 5, 0, 10, 10, ""}.Contains(INT32_MAX, 0)));
}

}  // namespace
}  // namespace orv
