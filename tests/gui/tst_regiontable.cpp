// Every region of every page reaches its action through the window's registrations: the pages'
// own rows and those each feature adds. A started window over the simulated mouse, its skin laid
// out as a grid, is clicked on each region of each table its page hit-tests; the click must do
// what the region stands for, and a region without an action must change nothing.
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FakeDialogs.h"
#include "PagesFixture.h"
#include "SyntheticSkin.h"
#include "app/CORV_GMouseDlg.h"
#include "app/PostToEventLoop.h"
#include "app/TrayIcon.h"
#include "common/IniFile.h"
#include "common/Trace.h"
#include "fakes/RecordingMessages.h"
#include "macro/MacroFile.h"
#include "session/Session.h"
#include "settings/ConfigFile.h"
#include "settings/ProfileEdits.h"
#include "skin/Regions.h"
#include "ui/MainWindowPages.h"
#include "ui/UiText.h"

using namespace orv;
using namespace orv::region;

namespace {

// What a click may change, as the user or the files see it.
struct Seen {
    uint8_t page = 0;
    std::vector<std::pair<std::string, std::string>> settings;
    ProfileSettings working;
    int32_t profile = 0;
    std::vector<std::string> dialogs;  // kind and filter of each dialog opened
    int applies = 0;
    bool visible = false;
    bool minimised = false;
    bool menuOpen = false;
    int macroCount = 0;
    bool macrosUnsaved = false;
    bool selectedRepeats = false;
    bool recording = false;
    std::string verSel;
    std::vector<std::pair<std::string, std::string>> savedProfile;  // the current profile in config.ini

    bool operator==(const Seen& o) const {
        return page == o.page && settings == o.settings && profile == o.profile && dialogs == o.dialogs &&
               applies == o.applies && visible == o.visible && minimised == o.minimised && menuOpen == o.menuOpen &&
               macroCount == o.macroCount && macrosUnsaved == o.macrosUnsaved && selectedRepeats == o.selectedRepeats &&
               recording == o.recording && verSel == o.verSel && savedProfile == o.savedProfile;
    }
};

// What a region's click must have done, from what was seen before and after it.
using Check = std::function<bool(const Seen& before, const Seen& after)>;

Check PageBecomes(uint8_t page) {
    return [page](const Seen&, const Seen& a) { return a.page == page; };
}
Check DialogOpens(const std::string& kindAndFilter) {
    return [kindAndFilter](const Seen& b, const Seen& a) {
        return a.dialogs.size() == b.dialogs.size() + 1 && a.dialogs.back() == kindAndFilter;
    };
}
Check Setting(std::function<bool(const ProfileSettings&)> holds) {
    return [holds](const Seen&, const Seen& a) { return holds(a.working); };
}

constexpr const char* kProfileFilter = "All Files(*.ini)|*.ini||";
constexpr const char* kMacroFilter = "All Files(*.dat)|*.dat||";

// A started window whose skin lays every table out as PagesFixture's grid, with function menus
// and two user macros in each language; profile 3 of config.ini has a fire time of its own.
struct Window {
    Window() {
        SkinLayout layout;
        for (size_t i = 0; i < layout.MainRegions.size(); ++i)
            layout.MainRegions[i] = testing::PagesFixture::GridRegion(static_cast<int>(i), 0);
        for (size_t i = 0; i < layout.AdvancedRegions.size(); ++i)
            layout.AdvancedRegions[i] = testing::PagesFixture::GridRegion(static_cast<int>(i), 80);
        layout.AdvancedRegions[advanced::kFireTimeSlider] = SkinRegion{0, 130, 200, 9, ""};
        for (size_t i = 0; i < layout.ColorRegions.size(); ++i)
            layout.ColorRegions[i] = SkinRegion{static_cast<int32_t>(i) * 15, 120, 14, 9, ""};
        layout.ControlRects = {SkinRect{0, 142, 40, 150}, SkinRect{45, 142, 95, 150}, SkinRect{100, 142, 160, 159},
                               SkinRect{165, 142, 230, 152}};
        skin.WriteAllPictures();
        for (const char* menu : {"menu_normal.jpg", "menu_over.jpg", "menu_down.jpg", "menu_mask.jpg"})
            skin.WriteFlatPicture(menu, Qt::black);
        for (Language language : {Language::English(), Language::Chinese()}) {
            skin.WriteDescriptionFiles(layout, language);
            MacroStore macros;
            macros.User(0).SetName(u"Alpha");
            macros.User(1).SetName(u"Beta");
            macros.macroCount = 2;
            SaveMacroFile(UserMacroFileFor(Dir(), language), macros);
        }
        QVERIFY(ini::Write(Dir() / "constMacro.dat", "Macros", "macroNum", "0"));
        QVERIFY(ini::Write(Dir() / "config.ini", "Init", "VER_SEL", "1"));
        QVERIFY(ini::Write(Dir() / "config.ini", "Config3", "FIRE_TIME", "33"));
        this->layout = layout;

        session.ObserveSteps([this](SessionStep step) { applies += step == SessionStep::ApplyProfile; });
        dialog.Tray().SetHostCheck([] { return true; });
        auto fake = std::make_unique<testing::FakeDialogs>();
        dialogs = fake.get();
        dialogs->answerYes = false;  // the reset's question
        dialog.UseDialogs(std::move(fake));
        started = dialog.StartUp();
        dialog.show();
    }

    std::filesystem::path Dir() const { return skin.AppDirectory(); }
    QPoint Centre(RegionTable table, int index) const {
        const auto i = static_cast<size_t>(index);
        const SkinRegion& r = table == kMainTable       ? layout.MainRegions[i]
                              : table == kAdvancedTable ? layout.AdvancedRegions[i]
                                                        : layout.ColorRegions[i];
        return testing::PagesFixture::Centre(r);
    }

    // Settings that leave every control something to change: every button clicks (no warning),
    // every DPI level enabled, a fire time inside the range, and unsaved in the window.
    void Prepare(uint8_t page) {
        dialog.close();  // puts away a function menu and ends a recording
        dialog.ShowWindow();
        dialog.Pages().ShowPage(page);
        ProfileSettings& s = session.Settings();
        SetFactorySettings(s);
        for (auto& function : s.buttonFunction)
            function = 1;
        for (auto& enabled : s.dpiEnabled)
            enabled = 1;
        s.fireTime = 150;
        session.CurrentProfile() = 1;
    }

    void Click(QPoint point) {
        MainWindowPages& pages = dialog.Pages();
        pages.OnMouseMove(point);
        pages.OnLeftButtonDown(point);
        pages.OnLeftButtonUp(point);
    }

    Seen Look() {
        Seen seen;
        seen.page = dialog.State().CurrentPage;
        seen.working = session.Settings();
        seen.settings = ProfileKeyValues(seen.working);
        seen.profile = session.CurrentProfile();
        for (const auto& opened : dialogs->opened)
            seen.dialogs.push_back(opened.kind + " " + opened.options.filter);
        seen.applies = applies;
        seen.visible = dialog.isVisible();
        seen.minimised = (dialog.windowState() & Qt::WindowMinimized) != 0;
        for (const QWidget* child : dialog.findChildren<QWidget*>())
            seen.menuOpen = seen.menuOpen || (child->isVisible() && child->windowTitle() == "MainMenuDlg");
        const MacroStore& macros = session.Macros();
        seen.macroCount = macros.macroCount;
        seen.macrosUnsaved = macros.UserMacrosUnsaved();
        const int selected = macros.selectedMacro;
        seen.selectedRepeats = selected >= 0 && selected < MacroStore::kUserSlots && macros.User(selected).repeatOn();
        const auto& labels = dialog.Pages().Drawing().labels[kAdvancedTable];
        seen.recording = labels.at(advanced::kRecord)() == UiText(TextId::Stop, session.CurrentLanguage());
        seen.verSel = ini::Read(Dir() / "config.ini", "Init", "VER_SEL", 5);
        ProfileSettings saved;
        LoadProfile(Dir() / "config.ini", seen.profile, false, session.CurrentLanguage(), saved);
        seen.savedProfile = ProfileKeyValues(saved);
        return seen;
    }

    testing::SyntheticSkin skin;
    SkinLayout layout;
    Trace trace{stdout, false, false};
    test::RecordingMessages messages;
    Session session{{Dir(), Dir() / "config.ini", skin.SkinDirectory()}, true, trace, messages, PostToEventLoop};
    int applies = 0;
    CORV_GMouseDlg dialog{session, messages};
    testing::FakeDialogs* dialogs = nullptr;
    bool started = false;
};

// The release actions of the header, on every page.
std::map<int, Check> HeaderReleases() {
    using namespace main;
    std::map<int, Check> checks{
        {kHideToTray, [](const Seen&, const Seen& a) { return !a.visible; }},
        {kApply, [](const Seen& b, const Seen& a) { return a.applies == b.applies + 1; }},
        {kMinimise, [](const Seen&, const Seen& a) { return a.minimised; }},
        {kClose, [](const Seen&, const Seen& a) { return !a.visible; }},
        {kDefaults, DialogOpens("question ")},
        {kChinese, [](const Seen&, const Seen& a) { return a.verSel == "0"; }},
        {kEnglish, [](const Seen&, const Seen& a) { return a.verSel == "1"; }},
    };
    for (int profile = 1; profile <= 5; ++profile)
        checks[ProfileButton(profile)] = [profile](const Seen&, const Seen& a) { return a.profile == profile; };
    return checks;
}

// Regions 0..last of the table, each with what its click must do; the rest must do nothing.
struct TableOnPage {
    RegionTable table;
    int last;
    std::map<int, Check> checks;
};

std::vector<TableOnPage> MainPage() {
    using namespace main;
    std::map<int, Check> checks = HeaderReleases();
    checks[kSave] = [](const Seen& b, const Seen& a) {
        return b.savedProfile != b.settings && a.savedProfile == a.settings;
    };
    checks[kAdvancedTab] = PageBecomes(kAdvancedPage);
    checks[kColorTab] = PageBecomes(kColorPage);
    checks[kImportProfile] = DialogOpens(std::string("open ") + kProfileFilter);
    checks[kExportProfile] = DialogOpens(std::string("save ") + kProfileFilter);
    for (int box = kFirstButtonBox; box <= kLastButtonBox; ++box)
        checks[box] = [](const Seen&, const Seen& a) { return a.menuOpen; };
    for (int n = 0; n < 2; ++n)
        checks[WheelStatusSwitch(n)] = Setting([n](const ProfileSettings& s) { return s.wheelStatus == n; });
    for (int n = 0; n < 4; ++n) {
        checks[DpiEnabledBox(n)] = Setting([n](const ProfileSettings& s) { return s.dpiEnabled[size_t(n)] == 0; });
        checks[DpiLevelSelector(n)] = Setting([n](const ProfileSettings& s) { return s.dpiLevel == n; });
        for (int step = 0; step < kDpiCellsPerLevel; ++step)
            checks[DpiCell(n, step)] =
                Setting([n, step](const ProfileSettings& s) { return s.dpiStep[size_t(n)] == step; });
    }
    return {{kMainTable, kLastOnMainPage, checks},
            {kAdvancedTable, advanced::kLastHitTested, {}},
            {kColorTable, color::kLastHitTested, {}}};
}

std::vector<TableOnPage> AdvancedPage(const SkinLayout& layout) {
    using namespace advanced;
    std::map<int, Check> header = HeaderReleases();
    header[main::kMainTab] = PageBecomes(kMainPage);
    header[main::kColorTab] = PageBecomes(kColorPage);
    std::map<int, Check> checks{
        {kImportMacros, DialogOpens(std::string("open ") + kMacroFilter)},
        {kExportMacros, DialogOpens(std::string("save ") + kMacroFilter)},
        {kAddMacro, [](const Seen& b, const Seen& a) { return a.macroCount == b.macroCount + 1; }},
        {kDeleteMacro, [](const Seen& b, const Seen& a) { return a.macroCount == b.macroCount - 1; }},
        {kRecord, [](const Seen&, const Seen& a) { return a.recording; }},
        {kStoreRepeatCount, [](const Seen& b, const Seen& a) { return b.macrosUnsaved && !a.macrosUnsaved; }},
        {kRepeat, [](const Seen& b, const Seen& a) { return a.selectedRepeats != b.selectedRepeats; }},
        {kHoldMode, Setting([](const ProfileSettings& s) { return s.macroMode == 1; })},
        {kFireTimeUp, Setting([](const ProfileSettings& s) { return s.fireTime == 151; })},
        {kFireTimeDown, Setting([](const ProfileSettings& s) { return s.fireTime == 149; })},
    };
    const SkinRegion& slider = layout.AdvancedRegions[kFireTimeSlider];
    const int32_t atCentre = FireTimeAtSliderPoint(slider.x + slider.width / 2, slider.x, slider.width);
    checks[kFireTimeSlider] = Setting([atCentre](const ProfileSettings& s) { return s.fireTime == atCentre; });
    for (int n = 0; n < kScaleSteps; ++n) {
        checks[PointerSpeedSegment(n)] = Setting([n](const ProfileSettings& s) { return s.pointerSpeed == n; });
        checks[WheelSpeedSegment(n)] = Setting([n](const ProfileSettings& s) { return s.wheelSpeed == n; });
    }
    return {{kMainTable, main::kLastHeader, header},
            {kAdvancedTable, kLastHitTested, checks},
            {kColorTable, color::kLastHitTested, {}}};
}

std::vector<TableOnPage> ColorPage() {
    using namespace color;
    std::map<int, Check> header = HeaderReleases();
    header[main::kMainTab] = PageBecomes(kMainPage);
    header[main::kAdvancedTab] = PageBecomes(kAdvancedPage);
    std::map<int, Check> checks;
    for (int mode = kFirstMode; mode <= kLastMode; ++mode)
        checks[mode] = Setting([mode](const ProfileSettings& s) { return s.ledStatus == mode - kFirstMode; });
    return {{kMainTable, main::kLastHeader, header},
            {kAdvancedTable, advanced::kLastHitTested, {}},
            {kColorTable, kLastHitTested, checks}};
}

}  // namespace

class RegionTableTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyRegionOfEveryPageReachesItsAction_data();
    void everyRegionOfEveryPageReachesItsAction();
};

void RegionTableTest::everyRegionOfEveryPageReachesItsAction_data() {
    QTest::addColumn<int>("page");
    QTest::newRow("main") << int(kMainPage);
    QTest::newRow("advanced") << int(kAdvancedPage);
    QTest::newRow("colour") << int(kColorPage);
}

void RegionTableTest::everyRegionOfEveryPageReachesItsAction() {
    QFETCH(int, page);
    Window w;
    QVERIFY(w.started);
    const auto tables = page == kMainPage ? MainPage() : page == kAdvancedPage ? AdvancedPage(w.layout) : ColorPage();
    const char* const tableNames[] = {"main", "advanced", "colour"};
    for (const TableOnPage& t : tables) {
        for (int region = 0; region <= t.last; ++region) {
            w.Prepare(static_cast<uint8_t>(page));
            const bool onTheEditor = page == kAdvancedPage && t.table == kAdvancedTable;
            if (onTheEditor && region == advanced::kAddMacro)
                QTest::keyClicks(w.dialog.findChild<QLineEdit*>(QStringLiteral("MacroNameEdit")), "Typed");
            if (onTheEditor && region == advanced::kStoreRepeatCount)
                w.session.Macros().User(0).SetRepeatCount(7);  // an edit not yet saved
            const Seen before = w.Look();
            w.Click(w.Centre(t.table, region));
            const Seen after = w.Look();
            const auto check = t.checks.find(region);
            const bool acted = check != t.checks.end() ? check->second(before, after) : after == before;
            QVERIFY2(acted, qPrintable(QStringLiteral("%1 region %2 on page %3")
                                           .arg(QLatin1String(tableNames[t.table]))
                                           .arg(region)
                                           .arg(page)));
        }
    }
    QVERIFY(w.messages.shown.empty());
}

QTEST_MAIN(RegionTableTest)
#include "tst_regiontable.moc"
