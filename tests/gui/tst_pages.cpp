#include <functional>
#include <string>
#include <vector>

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "PagesFixture.h"
#include "fakes/RecordingMessages.h"
#include "settings/ConfigFile.h"
#include "ui/HitTest.h"
#include "ui/PageRules.h"

using orv::kAdvancedPage;
using orv::kColorPage;
using orv::kMainPage;
using orv::kNoRegion;
using orv::testing::PagesFixture;
using Calls = std::vector<std::string>;

class PagesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hitTestEdgesAndLastIndices();
    void hitTestFirstRegionWins();
    void hoverRepaintsOnlyOnChange();
    void mainPageClicks();
    void dpiEnabledKeepsOneLevel();
    void dpiCellsSetSteps();
    void functionMenuWarningAndClosing();
    void saveWritesCurrentProfile();
    void advancedPageClicks();
    void fireTimeSliderAndSteps();
    void colorPageClicks();
    void headerOnlyActionsIgnoredOffMainPage();
    void dragOnlyOutsideRegions();
    void releaseTable();
    void releaseDecidesProfile();
    void hideControlFallsBackToAppliedProfile();
    void advancedControlsLiveWithThePage();
    void colorPageStartsOnePreview();
    void pagesWorkOnSkinReadFromFiles();
};

void PagesTest::hitTestEdgesAndLastIndices()
{
    PagesFixture f;
    const auto& main = f.layout.MainRegions;
    struct Case {
        QPoint point;
        int32_t last;
        int32_t expected;
    };
    // Region 5 is (75, 0, 14, 9): left and top edges inside, right and bottom outside.
    const Case cases[] = {
        {{75, 0}, 114, 5},   {{88, 8}, 114, 5},   {{89, 0}, 114, kNoRegion}, {{75, 9}, 114, kNoRegion},
        {{74, 0}, 114, kNoRegion}, {{-1, -1}, 114, kNoRegion},
        {f.MainCentre(114), 114, 114}, {f.MainCentre(115), 114, kNoRegion},
        {f.MainCentre(19), 19, 19},    {f.MainCentre(20), 19, kNoRegion},
    };
    for (const Case& c : cases) {
        QCOMPARE(orv::HitTest(c.point, main, c.last), c.expected);
    }
    QCOMPARE(orv::HitTest(f.AdvancedCentre(37), f.layout.AdvancedRegions, orv::kAdvancedLast), 37);
    QCOMPARE(orv::HitTest(f.AdvancedCentre(38), f.layout.AdvancedRegions, orv::kAdvancedLast), kNoRegion);
    QCOMPARE(orv::HitTest(f.ColorCentre(4), f.layout.ColorRegions, orv::kColorLast), 4);
    QCOMPARE(orv::HitTest(f.ColorCentre(5), f.layout.ColorRegions, orv::kColorLast), kNoRegion);

    // The main table's last index follows the page.
    f.pages.OnMouseMove(f.MainCentre(60));
    QCOMPARE(f.state.MainHover, 60);
    f.OnPage(kColorPage);
    f.pages.OnMouseMove(f.MainCentre(60));
    QCOMPARE(f.state.MainHover, kNoRegion);
    f.pages.OnMouseMove(f.MainCentre(11));
    QCOMPARE(f.state.MainHover, 11);
}

void PagesTest::hitTestFirstRegionWins()
{
    const orv::SkinRegion regions[] = {{0, 0, 0, 0, ""}, {10, 10, 20, 20, ""}, {0, 0, 100, 100, ""}};
    QCOMPARE(orv::HitTest(QPoint(0, 0), regions, 2), 2);
    QCOMPARE(orv::HitTest(QPoint(15, 15), regions, 2), 1);
    QCOMPARE(orv::HitTest(QPoint(15, 15), regions, 0), kNoRegion);
}

void PagesTest::hoverRepaintsOnlyOnChange()
{
    PagesFixture f;
    f.pages.OnMouseMove(f.MainCentre(30));
    QCOMPARE(f.actions.calls, (Calls{"Repaint", "UpdateNow"}));
    f.actions.calls.clear();
    f.pages.OnMouseMove(f.MainCentre(30) + QPoint(1, 1));
    QVERIFY(f.actions.calls.empty());

    // The advanced page invalidates only the part without the edit and list controls, once for
    // each index that changed (main 30 -> none, advanced none -> 3).
    f.OnPage(kAdvancedPage);
    f.pages.OnMouseMove(f.AdvancedCentre(3));
    QCOMPARE(f.state.AdvancedHover, 3);
    QCOMPARE(f.state.MainHover, kNoRegion);
    QCOMPARE(f.actions.calls, (Calls{"RepaintRegion", "UpdateNow", "RepaintRegion", "UpdateNow"}));
    for (const QRegion& region : f.actions.repaintedRegions)
        QCOMPARE(region, f.pages.AdvancedRepaintRegion());
}

void PagesTest::mainPageClicks()
{
    struct Case {
        int region;
        std::function<void(orv::ProfileSettings&)> before;
        std::function<bool(const orv::ProfileSettings&)> check;
        Calls operations;
    };
    const Case cases[] = {
        {41, [](auto& s) { s.wheelStatus = 1; }, [](const auto& s) { return s.wheelStatus == 0; }, {}},
        {42, [](auto& s) { s.wheelStatus = 0; }, [](const auto& s) { return s.wheelStatus == 1; }, {}},
        {56, [](auto& s) { s.dpiEnabled[2] = 1; s.dpiLevel = 0; }, [](const auto& s) { return s.dpiLevel == 2; }, {}},
        {56, [](auto& s) { s.dpiEnabled[2] = 0; s.dpiLevel = 0; }, [](const auto& s) { return s.dpiLevel == 0; }, {}},
        {14, [](auto&) {}, [](const auto&) { return true; }, {"ImportProfile"}},
        {15, [](auto&) {}, [](const auto&) { return true; }, {"ExportProfile"}},
        {20, [](auto&) {}, [](const auto&) { return true; }, {}},
        {114, [](auto&) {}, [](const auto&) { return true; }, {}},
    };
    for (const Case& c : cases) {
        PagesFixture f;
        c.before(f.settings);
        f.Click(f.MainCentre(c.region));
        QVERIFY2(c.check(f.settings), qPrintable(QString("region %1").arg(c.region)));
        QCOMPARE(f.actions.Operations(), c.operations);
        QCOMPARE(f.state.CurrentPage.load(), kMainPage);
    }

    PagesFixture f;
    f.Click(f.MainCentre(10));
    QCOMPARE(f.state.CurrentPage.load(), kAdvancedPage);
    f.OnPage(kMainPage);
    f.Click(f.MainCentre(11));
    QCOMPARE(f.state.CurrentPage.load(), kColorPage);
}

void PagesTest::dpiEnabledKeepsOneLevel()
{
    struct Case {
        std::array<uint8_t, 4> enabled;
        int32_t level;
        int click;
        std::array<uint8_t, 4> expectedEnabled;
        int32_t expectedLevel;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, 0, 1, {0, 1, 0, 0}, 0},  // checking a level does not select it
        {{1, 1, 0, 0}, 0, 1, {1, 0, 0, 0}, 0},  // unchecking another level keeps the current one
        {{1, 0, 1, 0}, 2, 2, {1, 0, 0, 0}, 0},  // wraps from 3 to 0, skipping disabled 3
        {{0, 1, 1, 1}, 1, 1, {0, 0, 1, 1}, 2},
        {{0, 0, 1, 0}, 2, 2, {0, 0, 1, 0}, 2},  // the only enabled level stays enabled and current
    };
    for (const Case& c : cases) {
        PagesFixture f;
        for (size_t i = 0; i < 4; ++i)
            f.settings.dpiEnabled[i] = c.enabled[i];
        f.settings.dpiLevel = c.level;
        f.Click(f.MainCentre(46 + c.click));
        for (size_t i = 0; i < 4; ++i)
            QCOMPARE(f.settings.dpiEnabled[i].load(), c.expectedEnabled[i]);
        QCOMPARE(f.settings.dpiLevel.load(), c.expectedLevel);
    }
}

void PagesTest::dpiCellsSetSteps()
{
    PagesFixture f;
    f.Click(f.MainCentre(90));
    QCOMPARE(f.settings.dpiStep[2].load(), uint8_t{0});
    f.Click(f.MainCentre(113));
    QCOMPARE(f.settings.dpiStep[3].load(), uint8_t{11});
    f.Click(f.MainCentre(66 + 12 + 5));
    QCOMPARE(f.settings.dpiStep[1].load(), uint8_t{5});
}

void PagesTest::functionMenuWarningAndClosing()
{
    {
        // Buttons 0 and 1 still click: the menu for box 27 opens at once, below the box.
        PagesFixture f;
        for (auto& code : f.settings.buttonFunction)
            code = 9;
        f.settings.buttonFunction[0] = 1;
        f.settings.buttonFunction[1] = 1;
        f.Click(f.MainCentre(27));
        QCOMPARE(f.actions.Operations(), (Calls{"OpenFunctionMenu 2"}));
        const auto& r = f.layout.MainRegions[27];
        QCOMPARE(f.actions.menuAnchor, QPoint(300 + r.x, 200 + r.y + r.height));
        QCOMPARE(f.state.MenuButton, 27);
        QVERIFY(f.state.MenuOpen);

        // Any click on the main page closes it; a click on another box opens the next one.
        f.actions.calls.clear();
        f.Click(f.MainCentre(28));
        QCOMPARE(f.actions.Operations(), (Calls{"CloseFunctionMenu", "OpenFunctionMenu 3"}));
        f.actions.calls.clear();
        f.Click(f.MainCentre(41));
        QCOMPARE(f.actions.Operations(), (Calls{"CloseFunctionMenu"}));
        QVERIFY(!f.state.MenuOpen);
    }
    for (int result : {1, 2}) {
        // Only button 2 clicks: the warning comes first, and cancelling it opens nothing.
        PagesFixture f;
        for (auto& code : f.settings.buttonFunction)
            code = 9;
        f.settings.buttonFunction[2] = 1;
        f.actions.warningResult = result;
        f.Click(f.MainCentre(27));
        const Calls expected = result == 2 ? Calls{"ShowLeftButtonWarning"}
                                           : Calls{"ShowLeftButtonWarning", "OpenFunctionMenu 2"};
        QCOMPARE(f.actions.Operations(), expected);
        QCOMPARE(f.actions.warningAnchor, f.state.MenuAnchor);
        QCOMPARE(f.state.MenuOpen, result != 2);
    }
}

void PagesTest::saveWritesCurrentProfile()
{
    PagesFixture f;
    f.currentProfile = 4;
    f.settings.fireTime = 123;
    f.settings.dpiLevel = 2;
    f.Click(f.MainCentre(0));
    orv::ProfileSettings loaded;
    orv::LoadProfile(f.model.configPath, 4, false, f.language, loaded);
    QCOMPARE(loaded.fireTime.load(), 123);
    QCOMPARE(loaded.dpiLevel.load(), 2);
}

void PagesTest::advancedPageClicks()
{
    struct Case {
        int region;
        Calls operations;
    };
    const Case actionCases[] = {
        {0, {"ImportMacros"}},     {1, {"ExportMacros"}},     {2, {"AddMacro"}},  {3, {"DeleteMacro"}},
        {4, {"ToggleRecording"}}, {5, {"StoreRepeatCount"}}, {6, {"ToggleRepeat"}}, {28, {}},
    };
    for (const Case& c : actionCases) {
        PagesFixture f;
        f.OnPage(kAdvancedPage);
        f.Click(f.AdvancedCentre(c.region));
        QCOMPARE(f.actions.Operations(), c.operations);
    }

    PagesFixture f;
    f.OnPage(kAdvancedPage);
    f.Click(f.AdvancedCentre(8 + 7));
    QCOMPARE(f.settings.pointerSpeed.load(), uint8_t{7});
    f.Click(f.AdvancedCentre(18));
    QCOMPARE(f.settings.wheelSpeed.load(), uint8_t{0});
    f.Click(f.AdvancedCentre(27));
    QCOMPARE(f.settings.wheelSpeed.load(), uint8_t{9});
    f.settings.macroMode = 0;
    f.Click(f.AdvancedCentre(7));
    QCOMPARE(f.settings.macroMode.load(), 1);
    f.Click(f.AdvancedCentre(7));
    QCOMPARE(f.settings.macroMode.load(), 0);

    f.Click(f.MainCentre(11));
    QCOMPARE(f.state.CurrentPage.load(), kColorPage);
    f.OnPage(kAdvancedPage);
    f.Click(f.MainCentre(9));
    QCOMPARE(f.state.CurrentPage.load(), kMainPage);
}

void PagesTest::fireTimeSliderAndSteps()
{
    PagesFixture f;
    f.OnPage(kAdvancedPage);
    const auto& slider = f.layout.AdvancedRegions[30];
    struct Case {
        int x;
        int32_t expected;
    };
    for (const Case& c : {Case{slider.x, 0}, Case{slider.x + slider.width / 2, 150},
                          Case{slider.x + slider.width - 1, 298}}) {
        f.Click(QPoint(c.x, slider.y + 1));
        QCOMPARE(f.settings.fireTime.load(), c.expected);
    }
    f.settings.fireTime = 299;
    f.Click(f.AdvancedCentre(31));
    f.Click(f.AdvancedCentre(31));
    QCOMPARE(f.settings.fireTime.load(), 300);
    f.settings.fireTime = 1;
    f.Click(f.AdvancedCentre(32));
    f.Click(f.AdvancedCentre(32));
    QCOMPARE(f.settings.fireTime.load(), 0);
}

void PagesTest::colorPageClicks()
{
    PagesFixture f;
    f.OnPage(kColorPage);
    f.Click(f.ColorCentre(3));
    QCOMPARE(f.settings.ledStatus.load(), uint8_t{3});
    f.Click(f.ColorCentre(4));
    QCOMPARE(f.settings.ledStatus.load(), uint8_t{3});
    QVERIFY(f.actions.Operations().empty());
    f.Click(f.MainCentre(10));
    QCOMPARE(f.state.CurrentPage.load(), kAdvancedPage);
    f.OnPage(kColorPage);
    f.Click(f.MainCentre(9));
    QCOMPARE(f.state.CurrentPage.load(), kMainPage);
}

void PagesTest::headerOnlyActionsIgnoredOffMainPage()
{
    for (uint8_t page : {kAdvancedPage, kColorPage}) {
        for (int region : {0, 14, 15}) {
            PagesFixture f;
            f.OnPage(page);
            f.Click(f.MainCentre(region));
            QVERIFY(f.actions.Operations().empty());
            QVERIFY(!QFile::exists(QString::fromStdString(f.model.configPath.string())));
        }
    }
}

void PagesTest::dragOnlyOutsideRegions()
{
    for (uint8_t page : {kMainPage, kAdvancedPage, kColorPage}) {
        PagesFixture f;
        f.OnPage(page);
        f.pages.OnMouseMove(PagesFixture::Empty());
        f.pages.OnLeftButtonDown(PagesFixture::Empty());
        QCOMPARE(f.actions.Operations(), (Calls{"StartDrag"}));
        QCOMPARE(f.actions.dragPoint, PagesFixture::Empty());
        QVERIFY(!f.state.ButtonHeld);

        // Over a region the page hit-tests the press does not drag, even where the page has no
        // action for it.
        f.actions.calls.clear();
        const QPoint pageRegion = page == kMainPage       ? f.MainCentre(60)
                                  : page == kAdvancedPage ? f.AdvancedCentre(37)
                                                          : f.ColorCentre(4);
        for (QPoint point : {f.MainCentre(1), pageRegion}) {
            f.pages.OnLeftButtonDown(point);
            f.pages.OnLeftButtonUp(point);
        }
        const Calls operations = f.actions.Operations();
        QVERIFY(std::find(operations.begin(), operations.end(), "StartDrag") == operations.end());
    }

    // A press on the main page over a region of another page's table still drags; the window
    // system then keeps the release, so nothing may stay drawn pressed afterwards.
    PagesFixture f;
    const QPoint hiddenRegion = f.AdvancedCentre(0);
    QCOMPARE(orv::HitTest(hiddenRegion, f.layout.MainRegions, orv::kMainLastOnMainPage), kNoRegion);
    f.pages.OnLeftButtonDown(hiddenRegion);
    QCOMPARE(f.actions.Operations(), (Calls{"StartDrag"}));
    QVERIFY(!f.state.ButtonHeld);
}

void PagesTest::releaseTable()
{
    struct Case {
        int region;
        Calls operations;
    };
    const Case cases[] = {
        {3, {"ApplyProfile"}},     {12, {"Minimise"}},        {13, {"CloseToTray"}},
        {16, {"RestoreDefaults"}}, {17, {"SwitchToChinese"}}, {18, {"SwitchToEnglish"}},
        {1, {}},                   {19, {}},
    };
    for (uint8_t page : {kMainPage, kColorPage}) {
        for (const Case& c : cases) {
            PagesFixture f;
            f.OnPage(page);
            f.pages.OnMouseMove(f.MainCentre(c.region));
            f.pages.OnLeftButtonDown(f.MainCentre(c.region));
            QVERIFY(f.state.ButtonHeld);
            QVERIFY(f.actions.Operations().empty());
            f.pages.OnLeftButtonUp(f.MainCentre(c.region));
            QVERIFY(!f.state.ButtonHeld);
            QCOMPARE(f.actions.Operations(), c.operations);
            if (c.region == 12 || c.region == 13)
                QCOMPARE(f.state.MainHover, kNoRegion);
        }
    }
}

void PagesTest::releaseDecidesProfile()
{
    PagesFixture f;
    orv::ProfileSettings one;
    orv::SetFactorySettings(one);
    one.fireTime = 11;
    orv::SaveProfile(f.model.configPath, 1, one);
    orv::ProfileSettings five = one;
    five.fireTime = 55;
    orv::SaveProfile(f.model.configPath, 5, five);

    f.pages.OnMouseMove(f.MainCentre(8));
    f.pages.OnLeftButtonDown(f.MainCentre(8));
    f.pages.OnMouseMove(f.MainCentre(4));
    f.pages.OnLeftButtonUp(f.MainCentre(4));
    QCOMPARE(f.currentProfile, 1);
    QCOMPARE(f.settings.fireTime.load(), 11);
    QVERIFY(f.actions.Operations().empty());  // nothing goes to the mouse

    f.Click(f.MainCentre(8));
    QCOMPARE(f.currentProfile, 5);
    QCOMPARE(f.settings.fireTime.load(), 55);
}

void PagesTest::hideControlFallsBackToAppliedProfile()
{
    PagesFixture f;
    orv::ProfileSettings applied;
    orv::SetFactorySettings(applied);
    applied.fireTime = 66;
    applied.dpiLevel = 0;
    orv::SaveProfile(f.model.configPath, orv::kAppliedProfile, applied);

    f.settings.fireTime = 200;  // changed on the window, never applied
    f.settings.dpiLevel = 3;    // the level the mouse is on now
    f.Click(f.MainCentre(2));
    QCOMPARE(f.settings.fireTime.load(), 66);
    QCOMPARE(f.settings.dpiLevel.load(), 3);
    QCOMPARE(f.actions.Operations(), (Calls{"HideToTray"}));
    QCOMPARE(f.state.MainHover, kNoRegion);
}

void PagesTest::advancedControlsLiveWithThePage()
{
    PagesFixture f;
    f.window.show();
    QVERIFY(!f.pages.MacroList());
    f.Click(f.MainCentre(10));
    QCOMPARE(f.actions.Operations(), (Calls{"RefreshMacroList"}));

    struct Expected {
        QWidget* control;
        int id;
        QRect rect;
    };
    const Expected expected[] = {
        {f.pages.RepeatCountEdit(), orv::kRepeatCountEditId, QRect(0, 142, 40, 8)},
        {f.pages.MacroNameEdit(), orv::kMacroNameEditId, QRect(45, 142, 50, 8)},
        {f.pages.MacroList(), orv::kMacroListId, QRect(100, 142, 60, 17)},
        {f.pages.EventList(), orv::kEventListId, QRect(165, 142, 65, 10)},
    };
    for (const Expected& e : expected) {
        QVERIFY(e.control);
        QCOMPARE(e.control->parentWidget(), &f.window);
        QCOMPARE(e.control->property("controlId").toInt(), e.id);
        QCOMPARE(e.control->geometry(), e.rect);
        QVERIFY(e.control->isVisible());
        QCOMPARE(e.control->palette().color(QPalette::Base), QColor(Qt::black));
        QCOMPARE(e.control->palette().color(QPalette::Text), QColor(Qt::white));
        QCOMPARE(e.control->font(), f.pages.Fonts().EnglishFont);
    }
    QCOMPARE(f.window.findChildren<QLineEdit*>().size(), 2);
    QCOMPARE(f.window.findChildren<QListWidget*>().size(), 2);

    // Leaving destroys them; coming back (here after a layout change) re-creates them.
    f.Click(f.MainCentre(11));
    QVERIFY(!f.pages.MacroList());
    QCOMPARE(f.window.findChildren<QLineEdit*>().size(), 0);
    QCOMPARE(f.window.findChildren<QListWidget*>().size(), 0);
    f.layout.ControlRects[2] = orv::SkinRect{10, 20, 30, 40};
    f.language = orv::Language::Chinese();
    f.Click(f.MainCentre(10));
    QCOMPARE(f.pages.MacroList()->geometry(), QRect(10, 20, 20, 20));
    QCOMPARE(f.pages.MacroList()->font(), f.pages.Fonts().ChineseFont);
    f.Click(f.MainCentre(9));
    QCOMPARE(f.window.findChildren<QWidget*>().size(), 0);
}

void PagesTest::colorPageStartsOnePreview()
{
    PagesFixture f;
    f.Click(f.MainCentre(11));
    f.Click(f.MainCentre(9));
    f.Click(f.MainCentre(11));
    const Calls operations = f.actions.Operations();
    QCOMPARE(std::count(operations.begin(), operations.end(), "StartPreviewThread"), 1);
    f.model.PreviewThreadRunning = false;  // the thread ended
    f.Click(f.MainCentre(9));
    f.Click(f.MainCentre(11));
    QCOMPARE(std::count(f.actions.calls.begin(), f.actions.calls.end(), "StartPreviewThread"), 2);
}

void PagesTest::pagesWorkOnSkinReadFromFiles()
{
    orv::test::RecordingMessages messages;
    PagesFixture f;
    f.layout.MainRegions[42].label = "REVERSE";
    f.layout.FunctionNames[1] = "Left Click";
    const orv::SkinLayout written = f.layout;
    f.skin.WriteDescriptionFiles(written, orv::Language::English());
    f.layout = orv::SkinLayout{};
    QVERIFY(orv::LoadSkin(f.skin.SkinDirectory(), orv::Language::English(), f.layout, messages, "ORV_GMouse"));
    QVERIFY(messages.shown.empty());
    QCOMPARE(f.layout.MainRegions[42].label, std::string("REVERSE"));
    QCOMPARE(f.layout.FunctionNames[1], std::string("Left Click"));

    f.settings.wheelStatus = 0;
    f.Click(f.MainCentre(42));
    QCOMPARE(f.settings.wheelStatus.load(), 1);
    f.Click(f.MainCentre(10));
    QCOMPARE(f.pages.EventList()->geometry(), QRect(165, 142, 65, 10));
}

QTEST_MAIN(PagesTest)
#include "tst_pages.moc"
