#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <QPoint>
#include <QWidget>

#include "FakeDialogs.h"
#include "PageFakes.h"
#include "SyntheticSkin.h"
#include "common/Trace.h"
#include "fakes/RecordingMessages.h"
#include "session/Session.h"
#include "settings/ProfileSettings.h"
#include "skin/SkinLayout.h"
#include "ui/MainWindowPages.h"
#include "ui/PageModel.h"
#include "ui/PageState.h"
#include "ui/UserNotices.h"
#include "ui/WindowEvents.h"
#include "ui/WindowFeature.h"

namespace orv::testing {

// A laid-out synthetic skin (240 x 160) with the pages over it and no feature until a test adds
// one (Context gives what the window gives its features); the host and the dialogs are fakes,
// the session is one over the simulated mouse. Main
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
    // A control of the window by its object name ("MacroList"), or null.
    template <typename Control>
    Control* Find(const char* name) const {
        return window.findChild<Control*>(QString::fromLatin1(name));
    }

    // User macros 0.. get these names, and macroCount their number.
    void NameMacros(const std::vector<std::u16string>& names);
    std::filesystem::path ConfigPath() const { return session.Folders().ConfigPath; }

    SyntheticSkin skin;
    SkinLayout layout;
    Trace trace{stdout, false, false};
    test::RecordingMessages messages;
    // The simulated mouse, never looked for: nothing reaches it unless a test applies.
    Session session;
    ProfileSettings& settings = session.Settings();
    Relaxed<int32_t>& currentProfile = session.CurrentProfile();
    Language& language = session.CurrentLanguage();
    MacroStore& macros = session.Macros();
    // What the pages show as last applied; a test sets the codes it draws.
    AppliedState applied;
    PageModel model;
    UserNotices notices{messages, language, ConfigPath(), "ORV_GMouse"};
    PageState state;
    CallLog log;
    FakeHost host{log};
    QWidget window;
    WindowEvents events;
    FakeDialogs dialogs;
    MainWindowPages pages;

    FeatureContext Context() { return {session, layout, pages, events, host, window, notices, dialogs, messages}; }
};

}  // namespace orv::testing
