#include "SkinSource.h"

#include <algorithm>
#include <stdexcept>

namespace orv::skin {

namespace {

using R = Role;
namespace m = region::main;
namespace a = region::advanced;
namespace c = region::color;
namespace w = region::warning;

// The regions the program acts on sit at their names; the skin's own labels, titles and
// decorations take free numbers below each table's label count.

// Sorted by index, and every index present once, so a mistake in the tables shows at once.
Page Checked(QSize size, std::vector<Region> regions, size_t count) {
    std::sort(regions.begin(), regions.end(), [](const Region& a, const Region& b) { return a.index < b.index; });
    if (regions.size() != count) {
        throw std::logic_error("skin table has the wrong number of regions");
    }
    for (size_t i = 0; i < count; ++i) {
        if (regions[i].index != static_cast<int>(i)) {
            throw std::logic_error("skin table has a gap or a duplicate index");
        }
    }
    return Page{size, std::move(regions)};
}

// The header: on every page, at the same place on every page picture.
std::vector<Region> HeaderRegions() {
    std::vector<Region> r = {
        {m::kSave, {560, 552, 100, 30}, R::Button, "SAVE", "保存"},
        {1, {58, 14, 164, 28}, R::Brand, "Q7 GAMING MOUSE", "Q7 电竞游戏鼠标"},
        {m::kHideToTray, {706, 16, 26, 24}, R::IconTray, "", ""},
        {m::kApply, {666, 552, 110, 30}, R::PrimaryButton, "APPLY", "应用"},
        {m::kMainTab, {250, 10, 118, 38}, R::Tab, "MAIN", "主界面"},
        {m::kAdvancedTab, {372, 10, 118, 38}, R::Tab, "ADVANCED", "高级设置"},
        {m::kColorTab, {494, 10, 118, 38}, R::Tab, "LIGHTING", "灯光效果"},
        {m::kMinimise, {736, 16, 26, 24}, R::IconMinimise, "", ""},
        {m::kClose, {766, 16, 26, 24}, R::IconClose, "", ""},
        {m::kImportProfile, {24, 552, 110, 30}, R::Button, "IMPORT PROFILE", "导入配置"},
        {m::kExportProfile, {140, 552, 110, 30}, R::Button, "EXPORT PROFILE", "导出配置"},
        {m::kDefaults, {256, 552, 110, 30}, R::Button, "DEFAULTS", "恢复默认"},
        {m::kChinese, {624, 16, 38, 24}, R::Language, "中文", "中文"},
        {m::kEnglish, {666, 16, 34, 24}, R::Language, "EN", "EN"},
        {19, {24, 68, 80, 28}, R::Label, "PROFILE", "配置"},
    };
    static const char* const kNumbers[] = {"1", "2", "3", "4", "5"};
    for (int i = 0; i < 5; ++i) {
        r.push_back({m::ProfileButton(i + 1), {108 + 46 * i, 68, 42, 28}, R::Profile, kNumbers[i], kNumbers[i]});
    }
    return r;
}

Page BuildMainPage() {
    std::vector<Region> r = HeaderRegions();
    const std::vector<Region> page = {
        {20, {28, 114, 52, 22}, R::Title, "BUTTONS", "按键设置"},
        {21, {28, 358, 72, 22}, R::Title, "DPI LEVELS", "DPI 档位"},
        {22, {540, 114, 48, 22}, R::Title, "WHEEL", "滚轮"},
        {23, {32, 384, 44, 18}, R::Label, "ACTIVE", "当前"},
        {24, {80, 384, 96, 18}, R::Label, "ENABLE", "启用"},
        // The button boxes sit beside the part of the drawing they assign.
        {m::ButtonBox(0), {24, 150, 160, 30}, R::FunctionBox, "", ""},
        {m::ButtonBox(1), {336, 196, 160, 30}, R::FunctionBox, "", ""},
        {m::ButtonBox(2), {336, 150, 160, 30}, R::FunctionBox, "", ""},
        {m::ButtonBox(3), {24, 222, 160, 30}, R::FunctionBox, "", ""},
        {m::ButtonBox(4), {24, 268, 160, 30}, R::FunctionBox, "", ""},
        {m::ButtonBox(5), {336, 242, 160, 30}, R::FunctionBox, "", ""},
        {m::WheelStatusSwitch(0), {540, 144, 116, 30}, R::Switch, "STANDARD", "标准"},
        {m::WheelStatusSwitch(1), {656, 144, 116, 30}, R::Switch, "REVERSE", "反向"},
        {45, {730, 384, 42, 18}, R::Label, "COLOR", "颜色"},
        {50, {564, 194, 208, 28}, R::FeatureTile, "6 PROGRAMMABLE KEYS", "6 个可编程按键"},
        {51, {564, 228, 208, 28}, R::FeatureTile, "4 DPI LEVELS", "4 档 DPI 调节"},
        {52, {564, 262, 208, 28}, R::FeatureTile, "200 - 4800 DPI", "200 - 4800 DPI"},
        {53, {564, 296, 208, 28}, R::FeatureTile, "5 PROFILES", "5 组配置"},
        {114, {240, 274, 40, 40}, R::MouseLogo, "", ""},
        {m::MousePart(0), {202, 133, 50, 87}, R::MousePart, "", ""},
        {m::MousePart(1), {253, 152, 14, 34}, R::MousePart, "", ""},
        {m::MousePart(2), {268, 133, 50, 87}, R::MousePart, "", ""},
        {m::MousePart(3), {196, 226, 10, 28}, R::MousePart, "", ""},
        {m::MousePart(4), {196, 258, 10, 28}, R::MousePart, "", ""},
        {m::MousePart(5), {254, 194, 12, 18}, R::MousePart, "", ""},
        {121, {0, 0, 0, 0}, R::Unused, "", ""},
        {122, {0, 0, 0, 0}, R::Unused, "", ""},
        {123, {0, 0, 0, 0}, R::Unused, "", ""},
    };
    r.insert(r.end(), page.begin(), page.end());

    static const char* const kDpi[] = {"200",  "400",  "600",  "800",  "1000", "1200",
                                       "1600", "2000", "2400", "3200", "4000", "4800"};
    static const int kDpiHeader[] = {31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 43, 44};
    static const char* const kLevelEn[] = {"LEVEL 1", "LEVEL 2", "LEVEL 3", "LEVEL 4"};
    static const char* const kLevelCn[] = {"档位 1", "档位 2", "档位 3", "档位 4"};
    for (int s = 0; s < 12; ++s) {
        r.push_back({kDpiHeader[s], {188 + 45 * s, 384, 42, 18}, R::Label, kDpi[s], kDpi[s]});
    }
    for (int level = 0; level < 4; ++level) {
        const int y = 406 + 32 * level;
        r.push_back({m::DpiEnabledBox(level), {80, y, 96, 26}, R::Check, kLevelEn[level], kLevelCn[level]});
        r.push_back({m::DpiLevelSelector(level), {42, y, 26, 26}, R::Radio, "", ""});
        r.push_back({kFirstDpiSwatch + level, {730, y, 42, 26}, R::Swatch, "", ""});
        r.push_back({62 + level, {544, 202 + 34 * level, 12, 12}, R::Ornament, "", ""});
        for (int s = 0; s < m::kDpiCellsPerLevel; ++s) {
            r.push_back({m::DpiCell(level, s), {188 + 45 * s, y, 42, 26}, R::DpiCell, "", ""});
        }
    }
    return Checked(kWindowSize, std::move(r), kMainRegionCount);
}

Page BuildAdvancedPage() {
    std::vector<Region> r = {
        {a::kImportMacros, {28, 478, 110, 26}, R::Button, "IMPORT MACROS", "导入宏"},
        {a::kExportMacros, {146, 478, 110, 26}, R::Button, "EXPORT MACROS", "导出宏"},
        {a::kAddMacro, {268, 142, 80, 28}, R::Button, "ADD", "添加"},
        {a::kDeleteMacro, {356, 142, 80, 28}, R::Button, "DELETE", "删除"},
        {a::kRecord, {28, 442, 170, 28}, R::Toggle, "Record", "录制"},
        {a::kStoreRepeatCount, {236, 508, 64, 28}, R::Button, "SET", "设定"},
        {a::kRepeat, {28, 510, 90, 24}, R::Toggle, "REPEAT", "循环"},
        {a::kHoldMode, {310, 508, 126, 28}, R::Toggle, "HOLD MODE", "按住播放"},
        {28, {468, 142, 100, 20}, R::Label, "POINTER SPEED", "指针速度"},
        {29, {468, 216, 96, 20}, R::Label, "SCROLL LINES", "滚轮行数"},
        {a::kFireTimeSlider, {468, 310, 308, 20}, R::Slider, "", ""},
        {a::kFireTimeUp, {686, 352, 34, 28}, R::Stepper, "+", "+"},
        {a::kFireTimeDown, {548, 352, 34, 28}, R::Stepper, "-", "-"},
        {a::kFireTimeText, {588, 352, 92, 28}, R::ValueField, "50ms", "50ms"},
        {34, {468, 284, 72, 20}, R::Label, "FIRE TIME", "连发间隔"},
        {35, {468, 422, 308, 30}, R::FeatureTile, "Normal: press once to play or stop", "普通：按下播放，再按停止"},
        {36, {468, 458, 308, 30}, R::FeatureTile, "Hold: repeats while the key is held", "按住：按住按键时循环播放"},
        {37, {468, 494, 308, 30}, R::FeatureTile, "Pauses under 15 ms play as 15 ms", "小于 15ms 的延迟按 15ms 播放"},
        {38, {28, 114, 86, 22}, R::Title, "MACRO EDITOR", "宏编辑器"},
        {39, {28, 144, 44, 24}, R::Label, "NAME", "名称"},
        {40, {28, 180, 170, 18}, R::Label, "MACROS", "宏列表"},
        {41, {210, 180, 226, 18}, R::Label, "EVENTS", "事件列表"},
        {42, {186, 510, 46, 24}, R::Label, "TIMES", "次"},
        {a::kDownLinesText, {210, 444, 110, 22}, R::ValueField, "[↓]0", "[↓]0"},
        {a::kUpLinesText, {326, 444, 110, 22}, R::ValueField, "[↑]0", "[↑]0"},
        {45, {468, 114, 50, 22}, R::Title, "SYSTEM", "系统设置"},
        {46, {264, 478, 172, 26}, R::Hint, "Up to 12 macros", "最多 12 个宏"},
        {47, {468, 332, 40, 16}, R::Hint, "0ms", "0ms"},
        {48, {736, 332, 40, 16}, R::Hint, "300ms", "300ms"},
        {49, {468, 194, 40, 16}, R::Hint, "SLOW", "慢"},
        {50, {736, 194, 40, 16}, R::Hint, "FAST", "快"},
        {51, {468, 396, 64, 22}, R::Title, "PLAYBACK", "播放说明"},
    };
    static const char* const kScale[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
    for (int i = 0; i < a::kScaleSteps; ++i) {
        r.push_back({a::PointerSpeedSegment(i), {468 + 31 * i, 166, 29, 26}, R::Segment, kScale[i], kScale[i]});
        r.push_back({a::WheelSpeedSegment(i), {468 + 31 * i, 240, 29, 26}, R::Segment, kScale[i], kScale[i]});
    }
    return Checked(kWindowSize, std::move(r), kAdvancedRegionCount);
}

Page BuildColorPage() {
    std::vector<Region> r = {
        {c::ModeTile(0), {32, 146, 340, 54}, R::ModeTile, "COLOR CYCLE", "色彩循环"},
        {c::ModeTile(1), {32, 212, 340, 54}, R::ModeTile, "FAST CYCLE", "快速循环"},
        {c::ModeTile(2), {32, 278, 340, 54}, R::ModeTile, "STEADY", "常亮"},
        {c::ModeTile(3), {32, 344, 340, 54}, R::ModeTile, "OFF", "关闭"},
        {4, {420, 452, 340, 72}, R::InfoTile, "", ""},
        {5, {28, 114, 72, 22}, R::Title, "LIGHT MODE", "灯光模式"},
        {6, {408, 114, 64, 22}, R::Title, "PREVIEW", "效果预览"},
        {7, {436, 476, 96, 24}, R::Label, "CURRENT DPI", "当前 DPI"},
        {8, {32, 414, 340, 22}, R::Hint, "Press APPLY to send the mode to the mouse", "按“应用”后灯光模式才会生效"},
        {c::kDpiText, {560, 466, 100, 44}, R::ValueField, "", ""},
        {10, {668, 476, 40, 24}, R::Label, "DPI", "DPI"},
        {c::kPreview, {430, 140, 320, 300}, R::Preview, "", ""},
        {12, {32, 440, 340, 22}, R::Hint, "The light follows the DPI level colour", "灯光颜色随 DPI 档位变化"},
    };
    return Checked(kWindowSize, std::move(r), kColorRegionCount);
}

Page BuildWarningPopup() {
    std::vector<Region> r = {
        {w::kConfirm, {50, 100, 120, 34}, R::Button, "CONFIRM", "确定"},
        {w::kCancel, {210, 100, 120, 34}, R::Button, "CANCEL", "取消"},
        {w::kMessage,
         {20, 30, 340, 44},
         R::WarningMessage,
         "Change the last left-click button?",
         "这是最后一个左键，确定要更改吗？"},
    };
    return Checked(kWarningSize, std::move(r), kWarningRegionCount);
}

// Two large chamfers on the leading diagonal and two small ones give the window its cut look.
QPolygon ChamferedRect(QSize size, int big, int small) {
    const int w = size.width();
    const int h = size.height();
    return QPolygon({QPoint(big, 0), QPoint(w - small, 0), QPoint(w, small), QPoint(w, h - big), QPoint(w - big, h),
                     QPoint(small, h), QPoint(0, h - small), QPoint(0, big)});
}

}  // namespace

const Page& MainPage() {
    static const Page page = BuildMainPage();
    return page;
}

const Page& AdvancedPage() {
    static const Page page = BuildAdvancedPage();
    return page;
}

const Page& ColorPage() {
    static const Page page = BuildColorPage();
    return page;
}

const Page& WarningPopup() {
    static const Page page = BuildWarningPopup();
    return page;
}

const std::array<QRect, 4>& ControlRects() {
    static const std::array<QRect, 4> rects = {
        QRect(126, 510, 56, 24),    // repeat count
        QRect(78, 144, 182, 24),    // macro name
        QRect(28, 202, 170, 234),   // macro list
        QRect(210, 202, 226, 234),  // event list
    };
    return rects;
}

const std::array<FunctionName, 55>& FunctionNames() {
    static const std::array<FunctionName, 55> names = [] {
        std::array<FunctionName, 55> n{};
        n[0] = {"", ""};
        n[1] = {"Left Click", "左键单击"};
        n[2] = {"Right Click", "右键单击"};
        n[3] = {"Middle Click", "中键单击"};
        n[4] = {"Back", "后退"};
        n[5] = {"Forward", "前进"};
        n[6] = {"DPI Cycle", "DPI 循环"};
        n[7] = {"More Functions", "更多功能"};
        n[8] = {"Multimedia", "多媒体"};
        n[9] = {"User Macros", "自定义宏"};
        n[10] = {"Preset Macros", "预设宏"};
        n[11] = {"Fire Key", "连发键"};
        n[12] = {"Wheel Up", "滚轮向上"};
        n[13] = {"Wheel Down", "滚轮向下"};
        n[14] = {"Report Rate", "回报率切换"};
        n[15] = {"DPI +", "DPI +"};
        n[16] = {"DPI -", "DPI -"};
        n[17] = {"Sniper DPI", "狙击 DPI"};
        for (int c : {18, 19, 20, 53, 54}) {
            n[c] = {"Disabled", "禁用"};
        }
        n[21] = {"Home Page", "主页"};
        n[22] = {"Media Player", "媒体播放器"};
        n[23] = {"E-mail", "电子邮件"};
        n[24] = {"Volume Up", "音量加"};
        n[25] = {"Volume Down", "音量减"};
        n[26] = {"Previous Track", "上一曲"};
        n[27] = {"Next Track", "下一曲"};
        n[28] = {"Mute", "静音"};
        n[29] = {"Play/Pause", "播放/暂停"};
        n[30] = {"Calculator", "计算器"};
        n[31] = {"Copy", "复制"};
        n[32] = {"Paste", "粘贴"};
        n[33] = {"Cut", "剪切"};
        n[34] = {"Undo", "撤销"};
        n[35] = {"Select All", "全选"};
        n[36] = {"Double Click", "左键双击"};
        n[37] = {"Save", "保存"};
        n[38] = {"Show Desktop", "显示桌面"};
        n[39] = {"Run Calculator", "运行计算器"};
        n[40] = {"Command Prompt", "命令提示符"};
        static const char* const kMacroEn[] = {"Macro 1", "Macro 2", "Macro 3", "Macro 4",  "Macro 5",  "Macro 6",
                                               "Macro 7", "Macro 8", "Macro 9", "Macro 10", "Macro 11", "Macro 12"};
        static const char* const kMacroCn[] = {"宏 1", "宏 2", "宏 3", "宏 4",  "宏 5",  "宏 6",
                                               "宏 7", "宏 8", "宏 9", "宏 10", "宏 11", "宏 12"};
        for (int i = 0; i < 12; ++i) {
            n[41 + i] = {kMacroEn[i], kMacroCn[i]};
        }
        return n;
    }();
    return names;
}

QPolygon WindowOutline() { return ChamferedRect(kWindowSize, 28, 12); }

QPolygon WarningOutline() { return ChamferedRect(kWarningSize, 16, 6); }

}  // namespace orv::skin
