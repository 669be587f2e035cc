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
    : session({skin.AppDirectory(), skin.AppDirectory() / "config.ini", skin.SkinDirectory()}, true, trace, messages,
              [](std::function<void()> work) { work(); }),
      model{settings, currentProfile, language, macros, applied, layout, skin.SkinDirectory()},
      pages(session, model, state, notices, host, window) {
    for (int i = 0; i < static_cast<int>(layout.MainRegions.size()); ++i)
        layout.MainRegions[static_cast<size_t>(i)] = GridRegion(i, 0);
    for (int i = 0; i < static_cast<int>(layout.AdvancedRegions.size()); ++i)
        layout.AdvancedRegions[static_cast<size_t>(i)] = GridRegion(i, 80);
    layout.AdvancedRegions[region::advanced::kFireTimeSlider] = SkinRegion{0, 130, 200, 9, ""};
    for (int i = 0; i < static_cast<int>(layout.ColorRegions.size()); ++i)
        layout.ColorRegions[static_cast<size_t>(i)] = SkinRegion{i * 15, 120, 14, 9, ""};
    layout.ControlRects = {SkinRect{0, 142, 40, 150}, SkinRect{45, 142, 95, 150}, SkinRect{100, 142, 160, 159},
                           SkinRect{165, 142, 230, 152}};

    // The apply's reports go nowhere: the mouse is never looked for.
    session.ObserveSteps([this](SessionStep step) {
        if (step == SessionStep::ApplyProfile)
            log.calls.push_back("ApplyProfile");
    });
    SetFactorySettings(settings);
    currentProfile = 1;
    language = Language::English();
    NameMacros({u"Alpha", u"Beta"});
    for (size_t level = 0; level < applied.appliedDpiCode.size(); ++level)
        applied.appliedDpiCode[level] = static_cast<uint8_t>(level + 1);

    skin.WriteAllPictures();
    window.resize(skin.Size());
    pages.ShapeWindow();
}

void PagesFixture::NameMacros(const std::vector<std::u16string>& names) {
    for (size_t i = 0; i < names.size(); ++i)
        macros.User(static_cast<int>(i)).SetName(names[i]);
    macros.macroCount = static_cast<int16_t>(names.size());
}

void PagesFixture::Click(QPoint point) {
    pages.OnMouseMove(point);
    pages.OnLeftButtonDown(point);
    pages.OnLeftButtonUp(point);
}

void PagesFixture::OnPage(uint8_t page) {
    pages.ShowPage(page);
    log.calls.clear();
}

}  // namespace orv::testing
