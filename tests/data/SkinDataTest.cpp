#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "common/Utf.h"
#include "skin/Regions.h"
#include "fakes/RecordingMessages.h"
#include "skin/SkinLayout.h"

namespace orv {
namespace {

using namespace region;

const std::filesystem::path kData = std::filesystem::path(ORV_SOURCE_DIR) / "data";
const std::filesystem::path kSkins = kData / "skins";

using Messages = test::RecordingMessages;

SkinLayout Load(Language language) {
    SkinLayout layout;
    Messages messages;
    EXPECT_TRUE(LoadSkin(kSkins, language, layout, messages, "ORV_GMouse"));
    EXPECT_TRUE(messages.shown.empty()) << messages.shown.front().second;
    return layout;
}

bool Overlap(const SkinRegion& a, const SkinRegion& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

struct Table {
    const char* name;
    std::vector<const SkinRegion*> regions;  // in hit-test order
    std::vector<int> indices;
};

// What one mouse position is tested against on each page: the header and the page's own
// first entries. Every one of them is tried, so an overlap would both hide a region and
// light two at once.
std::vector<Table> HitTestedTables(const SkinLayout& s) {
    std::vector<Table> tables(4);
    tables[0].name = "main page";
    tables[1].name = "advanced page";
    tables[2].name = "colour page";
    tables[3].name = "warning";
    for (int i = 0; i <= main::kLastOnMainPage; ++i) {
        tables[0].regions.push_back(&s.MainRegions[i]);
        tables[0].indices.push_back(i);
    }
    for (int i = 0; i <= main::kLastHeader; ++i) {
        for (int t = 1; t <= 2; ++t) {
            tables[t].regions.push_back(&s.MainRegions[i]);
            tables[t].indices.push_back(i);
        }
    }
    for (int i = 0; i <= advanced::kLastHitTested; ++i) {
        tables[1].regions.push_back(&s.AdvancedRegions[i]);
        tables[1].indices.push_back(100 + i);
    }
    for (int i = 0; i <= color::kLastHitTested; ++i) {
        tables[2].regions.push_back(&s.ColorRegions[i]);
        tables[2].indices.push_back(100 + i);
    }
    for (int i : {warning::kConfirm, warning::kCancel}) {
        tables[3].regions.push_back(&s.WarningRegions[i]);
        tables[3].indices.push_back(i);
    }
    return tables;
}

TEST(ShippedSkin, DescriptionFilesOfBothLanguagesLoadWithoutAMessage) {
    for (Language language : {Language::Chinese(), Language::English()}) {
        const SkinLayout s = Load(language);
        EXPECT_EQ(s.MainRegions[main::kMainTab].width > 0 && s.ColorRegions[color::kPreview].width > 0 &&
                      s.AdvancedRegions[advanced::kLabelCount - 1].width > 0 &&
                      s.WarningRegions[warning::kMessage].width > 0,
                  true)
            << "language " << int{language.Setting()};
        for (const SkinRect& r : s.ControlRects) {
            EXPECT_GT(r.right - r.left, 20);
            EXPECT_GT(r.bottom - r.top, 16);
        }
    }
}

TEST(ShippedSkin, LanguagesShareTheLayoutAndDifferOnlyInTexts) {
    const SkinLayout en = Load(Language::English());
    const SkinLayout cn = Load(Language::Chinese());
    auto same = [](const auto& a, const auto& b) {
        for (size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ((std::tuple{a[i].x, a[i].y, a[i].width, a[i].height}),
                      (std::tuple{b[i].x, b[i].y, b[i].width, b[i].height}))
                << "region " << i;
        }
    };
    // One set of pictures serves both languages, so the rectangles must agree.
    same(en.MainRegions, cn.MainRegions);
    same(en.AdvancedRegions, cn.AdvancedRegions);
    same(en.ColorRegions, cn.ColorRegions);
    same(en.WarningRegions, cn.WarningRegions);
}

TEST(ShippedSkin, HitTestedRegionsNeitherOverlapNorVanish) {
    const SkinLayout s = Load(Language::English());
    for (const Table& table : HitTestedTables(s)) {
        for (size_t i = 0; i < table.regions.size(); ++i) {
            const SkinRegion& a = *table.regions[i];
            EXPECT_TRUE(a.width > 0 && a.height > 0)
                << table.name << ": region " << table.indices[i] << " can never be hit";
            for (size_t j = i + 1; j < table.regions.size(); ++j) {
                EXPECT_FALSE(Overlap(a, *table.regions[j]))
                    << table.name << ": " << table.indices[i] << " hides part of " << table.indices[j];
            }
        }
    }
}

TEST(ShippedSkin, ControlsDoNotCoverAnyRegionOfTheAdvancedPage) {
    const SkinLayout s = Load(Language::English());
    for (size_t c = 0; c < s.ControlRects.size(); ++c) {
        const SkinRect& r = s.ControlRects[c];
        const SkinRegion control{r.left, r.top, r.right - r.left, r.bottom - r.top, ""};
        for (size_t i = 0; i < s.AdvancedRegions.size(); ++i) {
            EXPECT_FALSE(Overlap(control, s.AdvancedRegions[i])) << "control " << c << " covers region " << i;
        }
        for (size_t i = 0; i < main::kHeaderCount; ++i) {
            EXPECT_FALSE(Overlap(control, s.MainRegions[i])) << "control " << c << " covers header region " << i;
        }
    }
}

// The program's fonts are fixed-pitch: 7 pixels a character in English; in Chinese 6, and
// twice that for a wide character. A label wider than its region spills over its neighbours.
int TextWidth(const std::string& utf8, bool english) {
    int width = 0;
    for (char16_t unit : Utf8ToUtf16(utf8)) {
        const bool wide = unit >= 0x1100;
        width += (english ? 7 : 6) * (wide ? 2 : 1);
    }
    return width;
}

TEST(ShippedSkin, EveryDrawnTextFitsItsPlace) {
    for (Language language : {Language::Chinese(), Language::English()}) {
        const bool english = language.IsEnglish();
        const SkinLayout s = Load(language);
        auto fits = [&](const SkinRegion& r, const std::string& text, int margin, const char* what, size_t i) {
            EXPECT_LE(TextWidth(text, english) + margin, r.width) << what << " " << i << " \"" << text << "\"";
            EXPECT_GE(r.height, text.empty() ? 0 : 14) << what << " " << i;
        };
        for (size_t i = 0; i < main::kLabelCount; ++i) {
            if (i < main::kFirstButtonBox || i > main::kLastButtonBox) {
                fits(s.MainRegions[i], s.MainRegions[i].label, 0, "main", i);
            }
        }
        for (size_t i = 0; i < s.AdvancedRegions.size(); ++i) {
            fits(s.AdvancedRegions[i], s.AdvancedRegions[i].label, 0, "advanced", i);
        }
        // What the program writes in place of labels.
        fits(s.AdvancedRegions[advanced::kRecord], english ? "Record" : "录制", 0, "advanced", advanced::kRecord);
        fits(s.AdvancedRegions[advanced::kFireTimeText], "300ms", 0, "advanced", advanced::kFireTimeText);
        fits(s.AdvancedRegions[advanced::kDownLinesText], "[↓]108", 0, "advanced", advanced::kDownLinesText);
        fits(s.AdvancedRegions[advanced::kUpLinesText], "[↑]108", 0, "advanced", advanced::kUpLinesText);
        fits(s.ColorRegions[color::kDpiText], "4800", 0, "colour", color::kDpiText);
        for (size_t i = 0; i < s.ColorRegions.size(); ++i) {
            fits(s.ColorRegions[i], s.ColorRegions[i].label, 0, "colour", i);
        }
        for (size_t i = 0; i < s.WarningRegions.size(); ++i) {
            fits(s.WarningRegions[i], s.WarningRegions[i].label, 0, "warning", i);
        }
        // Function names are drawn 5 pixels into the button boxes; user macro names have up
        // to 19 characters.
        for (size_t code = 1; code < s.FunctionNames.size(); ++code) {
            for (int box = main::kFirstButtonBox; box <= main::kLastButtonBox; ++box) {
                fits(s.MainRegions[box], s.FunctionNames[code], 5, "function name", code);
            }
        }
        fits(s.MainRegions[main::ButtonBox(0)], std::string(19, 'M'), 5, "macro name", 0);
    }
}

TEST(ShippedSkin, EveryFunctionCodeHasANameInBothLanguages) {
    for (Language language : {Language::Chinese(), Language::English()}) {
        const SkinLayout s = Load(language);
        for (size_t code = 1; code < s.FunctionNames.size(); ++code) {
            EXPECT_FALSE(s.FunctionNames[code].empty()) << "code " << code << " language " << int{language.Setting()};
        }
        // The rows of one menu page must be told apart.
        for (const auto& [first, last] : {std::pair{1, 10}, {11, 16}, {21, 30}, {31, 38}}) {
            for (int a = first; a <= last; ++a) {
                for (int b = a + 1; b <= last; ++b) {
                    EXPECT_NE(s.FunctionNames[a], s.FunctionNames[b]) << a << " and " << b;
                }
            }
        }
    }
}

}  // namespace
}  // namespace orv
