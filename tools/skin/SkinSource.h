#pragma once
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <array>
#include <vector>

#include "skin/Regions.h"
#include "skin/SkinLayout.h"

// The one description of the skin: every region's place, size, role and texts in both
// languages. The description files and the pictures are both derived from it.
namespace orv::skin {

// How a region looks and what it is for; the painter draws each role in its three states.
enum class Role {
    Unused,         // read by the program, never shown
    Label,          // text only; a faint highlight under the mouse
    Title,          // section heading
    Hint,           // small explanatory text
    Button,         // plain push button
    PrimaryButton,  // the one accented call to action
    Tab,            // page tab
    Profile,        // profile selector
    Language,       // language switch
    IconTray,       // hide to the notification area
    IconMinimise,
    IconClose,
    Brand,        // product name beside the emblem
    FunctionBox,  // button assignment box, left-aligned function name
    MousePart,    // a button of the mouse drawing that lights up
    MouseLogo,    // the emblem on the mouse's palm
    Switch,       // one half of a two-way switch
    Check,        // enable check box with its caption
    Radio,        // level selector LED
    DpiCell,      // one step of a DPI row
    Swatch,       // the colour of a DPI level
    Ornament,     // a small indicator light
    FeatureTile,  // a feature tile
    Segment,      // one value of a 0..9 scale
    Slider,       // fire-time bar
    Stepper,      // +/- buttons
    ValueField,   // a number shown in an inset field
    Toggle,       // on/off button (repeat, hold mode, record)
    ModeTile,     // lighting mode
    Preview,      // lighting preview
    InfoTile,     // framed read-out
    WarningMessage,
};

struct Region {
    int index;
    QRect rect;
    Role role;
    const char* en;
    const char* cn;
};

// Glyph drawn on a mode tile or beside a function box.
struct Page {
    QSize size;
    std::vector<Region> regions;  // sorted by index, every index of the table present
};

inline constexpr QSize kWindowSize{800, 600};
inline constexpr int kMenuWidth = 184;
inline constexpr int kMenuRowHeight = 30;
inline constexpr int kMenuRows = 10;
inline constexpr int kSubMenuRows = 12;
inline constexpr QSize kWarningSize{380, 156};

// The colour swatch of DPI level n is main region kFirstDpiSwatch + n: a decoration of this
// skin, which the program never acts on.
inline constexpr int kFirstDpiSwatch = 58;

const Page& MainPage();      // 124 regions: the header and the main page
const Page& AdvancedPage();  // 52 regions
const Page& ColorPage();     // 13 regions
const Page& WarningPopup();  // 3 regions

// RepeatCountEdit, MacroNameEdit, MacroList, EventList as x, y, width, height.
const std::array<QRect, 4>& ControlRects();

struct FunctionName {
    const char* en;
    const char* cn;
};
// Index = FunctionCode, 1..54; index 0 unused.
const std::array<FunctionName, 55>& FunctionNames();

// The kept (dark) area of each shaped window.
QPolygon WindowOutline();
QPolygon WarningOutline();

}  // namespace orv::skin
