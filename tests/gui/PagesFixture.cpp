#include "PagesFixture.h"

namespace orv::testing {

SkinRegion PagesFixture::GridRegion(int index, int top) {
    SkinRegion r;
    r.x = (index % 16) * 15;
    r.y = top + (index / 16) * 10;
    r.width = 14;
    r.height = 9;
    return r;
}

PagesFixture::PagesFixture()
    : model{.settings = settings,
            .currentProfile = currentProfile,
            .language = language,
            .skin = layout,
            .configPath = skin.AppDirectory() / "config.ini",
            .skinDirectory = skin.SkinDirectory()},
      pages(model, state, host, window) {
    for (int i = 0; i < static_cast<int>(layout.MainRegions.size()); ++i)
        layout.MainRegions[static_cast<size_t>(i)] = GridRegion(i, 0);
    for (int i = 0; i < static_cast<int>(layout.AdvancedRegions.size()); ++i)
        layout.AdvancedRegions[static_cast<size_t>(i)] = GridRegion(i, 80);
    layout.AdvancedRegions[region::advanced::kFireTimeSlider] = SkinRegion{0, 130, 200, 9, ""};
    for (int i = 0; i < static_cast<int>(layout.ColorRegions.size()); ++i)
        layout.ColorRegions[static_cast<size_t>(i)] = SkinRegion{i * 15, 120, 14, 9, ""};
    layout.ControlRects = {SkinRect{0, 142, 40, 150}, SkinRect{45, 142, 95, 150}, SkinRect{100, 142, 160, 159},
                           SkinRect{165, 142, 230, 152}};

    SetFactorySettings(settings);
    model.userMacroName = [this](int slot) {
        return static_cast<size_t>(slot) < macroNames.size() ? macroNames[static_cast<size_t>(slot)] : std::string();
    };
    model.selectedMacroRepeatOn = [this] { return repeatOn; };
    model.appliedDpiCode = [this](int level) { return appliedDpi[static_cast<size_t>(level)]; };

    pages.SetFeatures(features.All());
    skin.WriteAllPictures();
    window.resize(skin.Size());
    pages.ShapeWindow();
}

void PagesFixture::Click(QPoint point) {
    pages.OnMouseMove(point);
    pages.OnLeftButtonDown(point);
    pages.OnLeftButtonUp(point);
}

void PagesFixture::OnPage(uint8_t page) {
    if (page == kMainPage)
        pages.ShowMainPage();
    else if (page == kAdvancedPage)
        pages.ShowAdvancedPage();
    else
        pages.ShowColorPage();
    log.calls.clear();
}

}  // namespace orv::testing
