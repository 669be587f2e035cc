#include <functional>
#include <string>
#include <vector>

#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QTest>

#include "PagesFixture.h"
#include "common/Unreadable.h"
#include "fakes/RecordingMessages.h"
#include "settings/ConfigFile.h"
#include "common/Utf.h"
#include "skin/HitTest.h"
#include "ui/DrawingGeometry.h"
#include "ui/UiText.h"

using orv::kAdvancedPage;
using orv::kColorPage;
using orv::kMainPage;
// Region names read main::kSave, advanced::kRecord, color::kPreview.
using namespace orv::region;
using orv::testing::PagesFixture;
using Calls = std::vector<std::string>;

class PagesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hoverTestsEachTableUpToItsLastRegion();
    void hoverRepaintsOnlyOnChange();
    void mainPageClicks();
    void dpiCellsSetSteps();
    void saveWritesCurrentProfile();
    void advancedPageClicks();
    void fireTimeSliderAndSteps();
    void colorPageClicks();
    void headerOnlyActionsIgnoredOffMainPage();
    void dragOnlyOutsideRegions();
    void releaseTable();
    void releaseDecidesProfile();
    void hideControlFallsBackToAppliedProfile();
    void unreadableConfigIsToldAndNeverSavedOver();
    void featuresPlugInRowsAndHooks();
    void pagesWorkOnSkinReadFromFiles();
};

void PagesTest::hoverTestsEachTableUpToItsLastRegion() {
    PagesFixture f;
    struct Case {
        uint8_t page;
        QPoint point;
        orv::RegionTable table;
        int32_t expected;
    };
    const Case cases[] = {
        {kMainPage, f.MainCentre(main::kLastOnMainPage), orv::kMainTable, main::kLastOnMainPage},
        {kMainPage, f.MainCentre(main::kLastOnMainPage + 1), orv::kMainTable, kNone},
        {kColorPage, f.MainCentre(main::kLastHeader), orv::kMainTable, main::kLastHeader},
        {kColorPage, f.MainCentre(main::kFirstDpiCell), orv::kMainTable, kNone},  // the header only
        {kAdvancedPage, f.MainCentre(main::kHeaderCount), orv::kMainTable, kNone},
        // Whatever the page.
        {kMainPage, f.AdvancedCentre(advanced::kLastHitTested), orv::kAdvancedTable, advanced::kLastHitTested},
        {kMainPage, f.AdvancedCentre(advanced::kLastHitTested + 1), orv::kAdvancedTable, kNone},
        {kAdvancedPage, f.ColorCentre(color::kLastHitTested), orv::kColorTable, color::kLastHitTested},
        {kAdvancedPage, f.ColorCentre(color::kLastHitTested + 1), orv::kColorTable, kNone},
    };
    for (const Case& c : cases) {
        f.OnPage(c.page);
        f.pages.OnMouseMove(c.point);
        QCOMPARE(f.state.HoverIn(c.table), c.expected);
    }
}

void PagesTest::hoverRepaintsOnlyOnChange() {
    PagesFixture f;
    f.pages.OnMouseMove(f.MainCentre(main::kLastButtonBox));
    QCOMPARE(f.log.calls, (Calls{"Repaint", "UpdateNow"}));
    f.log.calls.clear();
    f.pages.OnMouseMove(f.MainCentre(main::kLastButtonBox) + QPoint(1, 1));
    QVERIFY(f.log.calls.empty());

    // The advanced page invalidates only the part without the edit and list controls, once for
    // each index that changed (main box -> none, advanced none -> delete).
    f.OnPage(kAdvancedPage);
    f.pages.OnMouseMove(f.AdvancedCentre(advanced::kDeleteMacro));
    QCOMPARE(f.state.HoverIn(orv::kAdvancedTable), advanced::kDeleteMacro);
    QCOMPARE(f.state.HoverIn(orv::kMainTable), kNone);
    QCOMPARE(f.log.calls, (Calls{"RepaintRegion", "UpdateNow", "RepaintRegion", "UpdateNow"}));
    for (const QRegion& region : f.host.repaintedRegions)
        QCOMPARE(region, f.pages.AdvancedRepaintRegion());
}

void PagesTest::mainPageClicks() {
    struct Case {
        int region;
        std::function<void(orv::ProfileSettings&)> before;
        std::function<bool(const orv::ProfileSettings&)> check;
        Calls operations;
    };
    const Case cases[] = {
        {main::WheelStatusSwitch(0),
         [](auto& s) { s.wheelStatus = 1; },
         [](const auto& s) { return s.wheelStatus == 0; },
         {}},
        {main::WheelStatusSwitch(1),
         [](auto& s) { s.wheelStatus = 0; },
         [](const auto& s) { return s.wheelStatus == 1; },
         {}},
        {main::DpiLevelSelector(2),
         [](auto& s) {
             s.dpiEnabled[2] = 1;
             s.dpiLevel = 0;
         },
         [](const auto& s) { return s.dpiLevel == 2; },
         {}},
        {main::DpiLevelSelector(2),
         [](auto& s) {
             s.dpiEnabled[2] = 0;
             s.dpiLevel = 0;
         },
         [](const auto& s) { return s.dpiLevel == 0; },
         {}},
        {main::DpiEnabledBox(1),
         [](auto& s) { s.dpiEnabled[1] = 0; },
         [](const auto& s) { return s.dpiEnabled[1] == 1; },
         {}},
        {main::DpiEnabledBox(0),
         [](auto& s) { s.dpiLevel = 0; },
         [](const auto& s) { return s.dpiEnabled[0] == 0 && s.dpiLevel == 1; },
         {}},
        {main::kHeaderCount, [](auto&) {}, [](const auto&) { return true; }, {}},
        {main::kLastOnMainPage, [](auto&) {}, [](const auto&) { return true; }, {}},
    };
    for (const Case& c : cases) {
        PagesFixture f;
        c.before(f.settings);
        f.Click(f.MainCentre(c.region));
        QVERIFY2(c.check(f.settings), qPrintable(QString("region %1").arg(c.region)));
        QCOMPARE(f.log.Operations(), c.operations);
        QCOMPARE(f.state.CurrentPage.load(), kMainPage);
    }

    PagesFixture f;
    f.Click(f.MainCentre(main::kAdvancedTab));
    QCOMPARE(f.state.CurrentPage.load(), kAdvancedPage);
    f.OnPage(kMainPage);
    f.Click(f.MainCentre(main::kColorTab));
    QCOMPARE(f.state.CurrentPage.load(), kColorPage);
}

void PagesTest::dpiCellsSetSteps() {
    PagesFixture f;
    f.Click(f.MainCentre(main::DpiCell(2, 0)));
    QCOMPARE(f.settings.dpiStep[2].load(), uint8_t{0});
    f.Click(f.MainCentre(main::kLastDpiCell));
    QCOMPARE(f.settings.dpiStep[3].load(), uint8_t{11});
    f.Click(f.MainCentre(main::DpiCell(1, 5)));
    QCOMPARE(f.settings.dpiStep[1].load(), uint8_t{5});
}

void PagesTest::saveWritesCurrentProfile() {
    PagesFixture f;
    f.currentProfile = 4;
    f.settings.fireTime = 123;
    f.settings.dpiLevel = 2;
    f.Click(f.MainCentre(main::kSave));
    QVERIFY(f.log.Operations().empty());
    QVERIFY(f.messages.shown.empty());
    orv::ProfileSettings loaded;
    orv::LoadProfile(f.ConfigPath(), 4, false, f.language, loaded);
    QCOMPARE(loaded.fireTime.load(), 123);
    QCOMPARE(loaded.dpiLevel.load(), 2);
}

void PagesTest::advancedPageClicks() {
    PagesFixture f;
    f.OnPage(kAdvancedPage);
    f.Click(f.AdvancedCentre(advanced::PointerSpeedSegment(7)));
    QCOMPARE(f.settings.pointerSpeed.load(), uint8_t{7});
    f.Click(f.AdvancedCentre(advanced::kFirstWheelSpeed));
    QCOMPARE(f.settings.wheelSpeed.load(), uint8_t{0});
    f.Click(f.AdvancedCentre(advanced::kLastWheelSpeed));
    QCOMPARE(f.settings.wheelSpeed.load(), uint8_t{9});
    f.settings.macroMode = 0;
    f.Click(f.AdvancedCentre(advanced::kHoldMode));
    QCOMPARE(f.settings.macroMode.load(), 1);
    f.Click(f.AdvancedCentre(advanced::kHoldMode));
    QCOMPARE(f.settings.macroMode.load(), 0);

    f.Click(f.MainCentre(main::kColorTab));
    QCOMPARE(f.state.CurrentPage.load(), kColorPage);
    f.OnPage(kAdvancedPage);
    f.Click(f.MainCentre(main::kMainTab));
    QCOMPARE(f.state.CurrentPage.load(), kMainPage);
}

void PagesTest::fireTimeSliderAndSteps() {
    PagesFixture f;
    f.OnPage(kAdvancedPage);
    const auto& slider = f.layout.AdvancedRegions[advanced::kFireTimeSlider];
    f.Click(QPoint(slider.x + slider.width / 2, slider.y + 1));
    QCOMPARE(f.settings.fireTime.load(), 150);
    f.settings.fireTime = 299;
    f.Click(f.AdvancedCentre(advanced::kFireTimeUp));
    f.Click(f.AdvancedCentre(advanced::kFireTimeUp));
    QCOMPARE(f.settings.fireTime.load(), 300);
    f.Click(f.AdvancedCentre(advanced::kFireTimeDown));
    QCOMPARE(f.settings.fireTime.load(), 299);
}

void PagesTest::colorPageClicks() {
    PagesFixture f;
    f.OnPage(kColorPage);
    f.Click(f.ColorCentre(color::ModeTile(3)));
    QCOMPARE(f.settings.ledStatus.load(), uint8_t{3});
    f.Click(f.ColorCentre(color::kLastHitTested));
    QCOMPARE(f.settings.ledStatus.load(), uint8_t{3});
    QVERIFY(f.log.Operations().empty());
    f.Click(f.MainCentre(main::kAdvancedTab));
    QCOMPARE(f.state.CurrentPage.load(), kAdvancedPage);
    f.OnPage(kColorPage);
    f.Click(f.MainCentre(main::kMainTab));
    QCOMPARE(f.state.CurrentPage.load(), kMainPage);
}

void PagesTest::headerOnlyActionsIgnoredOffMainPage() {
    for (uint8_t page : {kAdvancedPage, kColorPage}) {
        for (int region : {main::kSave, main::kImportProfile, main::kExportProfile}) {
            PagesFixture f;
            f.OnPage(page);
            f.Click(f.MainCentre(region));
            QVERIFY(f.log.Operations().empty());
            QVERIFY(!QFile::exists(QString::fromStdString(f.ConfigPath().string())));
        }
    }
}

void PagesTest::dragOnlyOutsideRegions() {
    for (uint8_t page : {kMainPage, kAdvancedPage, kColorPage}) {
        PagesFixture f;
        f.OnPage(page);
        f.pages.OnMouseMove(PagesFixture::Empty());
        f.pages.OnLeftButtonDown(PagesFixture::Empty());
        QCOMPARE(f.log.Operations(), (Calls{"StartDrag"}));
        QCOMPARE(f.host.dragPoint, PagesFixture::Empty());
        QVERIFY(!f.state.ButtonHeld);

        // Over a region the page hit-tests the press does not drag, even where the page has no
        // action for it.
        f.log.calls.clear();
        const QPoint pageRegion = page == kMainPage       ? f.MainCentre(main::kLastOnMainPage)
                                  : page == kAdvancedPage ? f.AdvancedCentre(advanced::kLastHitTested)
                                                          : f.ColorCentre(color::kLastHitTested);
        for (QPoint point : {f.MainCentre(main::kLastHeader), pageRegion}) {
            f.pages.OnLeftButtonDown(point);
            f.pages.OnLeftButtonUp(point);
        }
        const Calls operations = f.log.Operations();
        QVERIFY(std::find(operations.begin(), operations.end(), "StartDrag") == operations.end());
    }

    // A press on the main page over a region of another page's table still drags; the window
    // system then keeps the release, so nothing may stay drawn pressed afterwards.
    PagesFixture f;
    const QPoint hiddenRegion = f.AdvancedCentre(advanced::kImportMacros);
    QCOMPARE(orv::HitTest(hiddenRegion.x(), hiddenRegion.y(), f.layout.MainRegions, main::kLastOnMainPage), kNone);
    f.pages.OnLeftButtonDown(hiddenRegion);
    QCOMPARE(f.log.Operations(), (Calls{"StartDrag"}));
    QVERIFY(!f.state.ButtonHeld);
}

void PagesTest::releaseTable() {
    struct Case {
        int region;
        Calls operations;
    };
    const Case cases[] = {
        {main::kApply, {"ApplyProfile"}}, {main::kMinimise, {"Minimise"}},
        {main::kClose, {"CloseToTray"}},  {main::kDefaults, {}},  // the features' rows
        {main::kLastHeader, {}},                                  // a label
    };
    for (uint8_t page : {kMainPage, kColorPage}) {
        for (const Case& c : cases) {
            PagesFixture f;
            f.OnPage(page);
            f.pages.OnMouseMove(f.MainCentre(c.region));
            f.pages.OnLeftButtonDown(f.MainCentre(c.region));
            QVERIFY(f.state.ButtonHeld);
            QVERIFY(f.log.Operations().empty());
            f.pages.OnLeftButtonUp(f.MainCentre(c.region));
            QVERIFY(!f.state.ButtonHeld);
            QCOMPARE(f.log.Operations(), c.operations);
            if (c.region == main::kMinimise || c.region == main::kClose)
                QCOMPARE(f.state.HoverIn(orv::kMainTable), kNone);
        }
    }
}

void PagesTest::releaseDecidesProfile() {
    PagesFixture f;
    orv::ProfileSettings one;
    orv::SetFactorySettings(one);
    one.fireTime = 11;
    orv::SaveProfile(f.ConfigPath(), 1, one);
    orv::ProfileSettings five = one;
    five.fireTime = 55;
    orv::SaveProfile(f.ConfigPath(), 5, five);

    f.pages.OnMouseMove(f.MainCentre(main::ProfileButton(5)));
    f.pages.OnLeftButtonDown(f.MainCentre(main::ProfileButton(5)));
    f.pages.OnMouseMove(f.MainCentre(main::ProfileButton(1)));
    f.pages.OnLeftButtonUp(f.MainCentre(main::ProfileButton(1)));
    QCOMPARE(f.currentProfile.load(), 1);
    QCOMPARE(f.settings.fireTime.load(), 11);
    QVERIFY(f.log.Operations().empty());  // nothing goes to the mouse

    f.Click(f.MainCentre(main::ProfileButton(5)));
    QCOMPARE(f.currentProfile.load(), 5);
    QCOMPARE(f.settings.fireTime.load(), 55);
}

void PagesTest::hideControlFallsBackToAppliedProfile() {
    PagesFixture f;
    orv::ProfileSettings applied;
    orv::SetFactorySettings(applied);
    applied.fireTime = 66;
    applied.dpiLevel = 0;
    orv::SaveProfile(f.ConfigPath(), orv::kAppliedProfile, applied);

    f.settings.fireTime = 200;  // changed on the window, never applied
    f.settings.dpiLevel = 3;    // the level the mouse is on now
    f.Click(f.MainCentre(main::kHideToTray));
    QCOMPARE(f.settings.fireTime.load(), 66);
    QCOMPARE(f.settings.dpiLevel.load(), 3);
    QCOMPARE(f.log.Operations(), (Calls{"HideToTray"}));
    QCOMPARE(f.state.HoverIn(orv::kMainTable), kNone);
}

// Every control that reads or writes config.ini, with the file unreadable: the save says it
// failed, a profile button keeps the profile shown (its settings would be saved as the other's),
// and the hide control keeps the working settings.
void PagesTest::unreadableConfigIsToldAndNeverSavedOver() {
    PagesFixture f;
    orv::test::MakeUnreadable(f.ConfigPath());
    f.settings.fireTime = 77;
    const std::vector<std::pair<std::string, std::string>> shown = orv::ProfileKeyValues(f.settings);

    f.Click(f.MainCentre(main::kSave));
    f.Click(f.MainCentre(main::ProfileButton(3)));
    f.Click(f.MainCentre(main::kHideToTray));

    QCOMPARE(f.log.Operations(), (Calls{"HideToTray"}));
    const auto said = [&f](orv::TextId text) {
        return orv::UiText(text, f.language).arg(QString::fromStdString(orv::PathToUtf8(f.ConfigPath()))).toStdString();
    };
    QCOMPARE(f.messages.shown.size(), size_t(2));
    QCOMPARE(f.messages.shown[0].second, said(orv::TextId::SettingsNotSaved));
    QCOMPARE(f.messages.shown[1].second, said(orv::TextId::ConfigUnreadable));
    QCOMPARE(f.currentProfile.load(), 1);
    QCOMPARE(orv::ProfileKeyValues(f.settings), shown);
}

// A feature's rows follow the pages' own and act only where no earlier row holds the index; its
// hooks run around them: before every press on its page, on every entry to a page, and on
// leaving it after the new page's own hooks.
void PagesTest::featuresPlugInRowsAndHooks() {
    PagesFixture f;
    Calls heard;
    const auto hear = [&heard](std::string what) { return [&heard, what] { heard.push_back(what); }; };
    const auto hearRow = [&heard](std::string what) {
        return [&heard, what](orv::RegionHit) { heard.push_back(what); };
    };
    f.pages.BeforePress(kMainPage, hear("before press"));
    f.pages.AddPressRow(kMainPage, orv::kMainTable, main::kImportProfile, main::kExportProfile,
                        [&heard](orv::RegionHit hit) { heard.push_back("exchange " + std::to_string(hit.offset)); });
    f.pages.AddPressRow(kMainPage, orv::kMainTable, main::kSave, main::kSave, hearRow("a second save row"));
    f.pages.AddReleaseRow(main::kDefaults, main::kDefaults, hearRow("defaults"));
    f.pages.OnPageShown(kColorPage, hear("colour shown"));
    f.pages.OnPageLeft(kAdvancedPage, hear("advanced left"));
    f.pages.BeforePaint(hear("paint"));

    f.Click(f.MainCentre(main::kExportProfile));
    f.Click(f.MainCentre(main::kSave));
    f.Click(f.MainCentre(main::kDefaults));
    f.Click(f.MainCentre(main::kAdvancedTab));
    f.Click(f.MainCentre(main::kColorTab));
    f.Click(f.MainCentre(main::kAdvancedTab));
    f.Click(f.MainCentre(main::kColorTab));
    QImage canvas(f.skin.Size(), QImage::Format_RGB32);
    QPainter painter(&canvas);
    f.pages.PaintMainWindow(painter);

    QCOMPARE(heard, (Calls{"before press", "exchange 1", "before press", "before press", "defaults", "before press",
                           "colour shown", "advanced left", "colour shown", "advanced left", "paint"}));
    QVERIFY(f.messages.shown.empty());  // the pages' own save acted, not the second row
}

void PagesTest::pagesWorkOnSkinReadFromFiles() {
    orv::test::RecordingMessages messages;
    PagesFixture f;
    f.layout.MainRegions[main::WheelStatusSwitch(1)].label = "REVERSE";
    f.layout.FunctionNames[1] = "Left Click";
    const orv::SkinLayout written = f.layout;
    f.skin.WriteDescriptionFiles(written, orv::Language::English());
    f.layout = orv::SkinLayout{};
    QVERIFY(orv::LoadSkin(f.skin.SkinDirectory(), orv::Language::English(), f.layout, messages, "ORV_GMouse"));
    QVERIFY(messages.shown.empty());
    QCOMPARE(f.layout.MainRegions[main::WheelStatusSwitch(1)].label, std::string("REVERSE"));
    QCOMPARE(f.layout.FunctionNames[1], std::string("Left Click"));

    f.settings.wheelStatus = 0;
    f.Click(f.MainCentre(main::WheelStatusSwitch(1)));
    QCOMPARE(f.settings.wheelStatus.load(), 1);
    QCOMPARE(orv::ControlRect(f.layout.ControlRects[orv::kEventListRect]), QRect(165, 142, 65, 10));
}

QTEST_MAIN(PagesTest)
#include "tst_pages.moc"
