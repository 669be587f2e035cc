#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <QPoint>
#include <QWidget>

#include "PageFakes.h"
#include "SyntheticSkin.h"
#include "settings/ProfileSettings.h"
#include "skin/SkinLayout.h"
#include "ui/MainWindowPages.h"
#include "ui/PageModel.h"
#include "ui/PageState.h"

namespace orv::testing {

// A laid-out synthetic skin (240 x 160) with the pages over it, every feature a fake. Main
// regions sit on a grid of 15 x 10 cells (14 x 9 each) from the top, advanced regions below
// them from y 80, colour regions on the row y 120; the fire-time slider is 200 x 9 at (0, 130);
// the four controls share the row y 142.
struct PagesFixture {
    PagesFixture();

    static SkinRegion GridRegion(int index, int top);
    QPoint MainCentre(int index) const { return Centre(layout.MainRegions[static_cast<size_t>(index)]); }
    QPoint AdvancedCentre(int index) const { return Centre(layout.AdvancedRegions[static_cast<size_t>(index)]); }
    QPoint ColorCentre(int index) const { return Centre(layout.ColorRegions[static_cast<size_t>(index)]); }
    static QPoint Centre(const SkinRegion& r) { return {r.x + r.width / 2, r.y + r.height / 2}; }
    // A point inside the window that no table hits.
    static QPoint Empty() { return {235, 155}; }

    void Click(QPoint point);
    void OnPage(uint8_t page);

    SyntheticSkin skin;
    SkinLayout layout;
    ProfileSettings settings;
    Relaxed<int32_t> currentProfile{1};
    Language language = Language::English();
    std::vector<std::string> macroNames{"Alpha", "Beta"};
    uint8_t repeatOn = 0;
    std::array<uint8_t, 4> appliedDpi{1, 2, 3, 4};
    PageModel model;
    PageState state;
    CallLog log;
    FakeHost host{log};
    FakeFeatures features{log};
    QWidget window;
    MainWindowPages pages;
};

}  // namespace orv::testing
