#include <random>

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QStyle>
#include <QTest>

#include "OtherSystem.h"
#include "PagesFixture.h"
#include "platform/FakeKeyboardCapture.h"
#include "ui/ComposeFrame.h"
#include "ui/LightingPreview.h"
#include "ui/MacroEditorFeature.h"
#include "ui/ShapeFromMask.h"

using orv::kAdvancedPage;
using orv::kColorPage;
using orv::kMainPage;
using orv::Language;
// Region names read main::kSave, advanced::kRecord, color::kPreview.
using namespace orv::region;
using orv::testing::NearColour;
using orv::testing::PagesFixture;
using orv::testing::SyntheticSkin;

namespace {

// A main-page region with no role of its own: it shows only the hover and pressed looks.
constexpr int kPlainRegion = 60;
// A main-page label region.
constexpr int kLabelRegion = 21;

QColor PixelAt(const QImage& image, QPoint point) { return image.pixelColor(point); }

// The colour most of the region shows (a label may be drawn over part of it).
QColor RegionColour(const QImage& frame, const orv::SkinRegion& region) {
    const QColor candidates[] = {SyntheticSkin::Normal(), SyntheticSkin::Over(), SyntheticSkin::Down(),
                                 SyntheticSkin::Gray(), SyntheticSkin::Blue()};
    for (const QColor& candidate : candidates) {
        int near = 0;
        for (int y = region.y; y < region.y + region.height; ++y) {
            for (int x = region.x; x < region.x + region.width; ++x)
                near += NearColour(frame.pixelColor(x, y), candidate) ? 1 : 0;
        }
        if (near * 2 > region.width * region.height)
            return candidate;
    }
    return PixelAt(frame, PagesFixture::Centre(region));
}

enum class Table { Main, Advanced, Color };

orv::SkinRegion& RegionOf(PagesFixture& f, Table table, int index) {
    const auto i = static_cast<size_t>(index);
    return table == Table::Main       ? f.layout.MainRegions[i]
           : table == Table::Advanced ? f.layout.AdvancedRegions[i]
                                      : f.layout.ColorRegions[i];
}

bool SameArea(const QRegion& a, const QRegion& b) { return a.xored(b).isEmpty(); }

// The marks a text makes in the area, counted left to right: runs of columns with a pixel off
// the background, separated by columns without one. The faint edge of a smoothed glyph counts,
// so two glyphs that only touch make one mark.
int MarksIn(const QImage& image, const QRect& area, QColor background) {
    int marks = 0;
    bool inMark = false;
    for (int x = area.left(); x <= area.right(); ++x) {
        bool ink = false;
        for (int y = area.top(); y <= area.bottom() && !ink; ++y)
            ink = !NearColour(image.pixelColor(x, y), background, 24);
        marks += ink && !inMark ? 1 : 0;
        inMark = ink;
    }
    return marks;
}

// The pages with the real macro editor behind the advanced page, recording through a keyboard
// capture the test holds. Macro "Alpha" is selected.
struct EditorPages : PagesFixture {
    // Macro "Alpha" gets presses and releases of key 1 and is shown on the advanced page.
    void ShowKeys(int presses, int releases) {
        orv::MacroSlot& alpha = macros.User(0);
        for (int k = 0; k < presses + releases; ++k)
            alpha.SetEvent(static_cast<size_t>(k), 0x1E,
                           k < presses ? orv::MacroSlot::kPress : orv::MacroSlot::kRelease, 30);
        alpha.SetEventCount(static_cast<uint8_t>(presses + releases));
        OnPage(kAdvancedPage);
    }
    void Record() {
        OnPage(kAdvancedPage);
        Click(AdvancedCentre(advanced::kRecord));
    }

    orv::test::FakeKeyboardCapture capture;
    orv::MacroEditorFeature editor{Context(), &capture};
};

// The window widget as the program has it: every paint goes through the pages.
class PaintedWindow : public QWidget {
public:
    orv::MainWindowPages* pages = nullptr;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        pages->PaintMainWindow(painter);
    }
};

}  // namespace

class DrawingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hoveredRegionComesFromOverOrDown();
    void pressedSliderKeepsItsBar();
    void dpiCellsInLevelColours();
    void headerPrecedence();
    void fireTimeBarWidth();
    void advancedPageStates();
    void colorPageStatesAndPreview();
    void labelsPlacedAndColoured();
    void shapeCutsLightPixels();
    void shapeMatchesPixelByPixelRegion();
    void advancedRepaintRegionLeavesOutControls();
    void replacedPictureShowsNextPaint();
    void paintDrawsTheComposedFrame();
    void minimisedWindowShowsItsIcon();
    void fontsAtTheirHeights();
    void arrowMarkersStandApartFromTheirBrackets();
};

void DrawingTest::hoveredRegionComesFromOverOrDown() {
    PagesFixture f;
    const auto& region = f.layout.MainRegions[kPlainRegion];
    QVERIFY(NearColour(RegionColour(f.pages.ComposeFrame(), region), SyntheticSkin::Normal()));

    f.pages.OnMouseMove(f.MainCentre(kPlainRegion));
    QImage frame = f.pages.ComposeFrame();
    QVERIFY(NearColour(RegionColour(frame, region), SyntheticSkin::Over()));
    // Exactly the region's rectangle, at the same place.
    QVERIFY(NearColour(PixelAt(frame, {region.x, region.y}), SyntheticSkin::Over()));
    QVERIFY(
        NearColour(PixelAt(frame, {region.x + region.width - 1, region.y + region.height - 1}), SyntheticSkin::Over()));
    QVERIFY(NearColour(PixelAt(frame, {region.x + region.width, region.y}), SyntheticSkin::Normal()));
    QVERIFY(NearColour(PixelAt(frame, {region.x, region.y + region.height}), SyntheticSkin::Normal()));

    f.pages.OnLeftButtonDown(f.MainCentre(kPlainRegion));
    QVERIFY(NearColour(RegionColour(f.pages.ComposeFrame(), region), SyntheticSkin::Down()));

    // Over a button box, the button's part of the mouse picture lights up too.
    f.pages.OnLeftButtonUp(f.MainCentre(kPlainRegion));
    f.pages.OnMouseMove(f.MainCentre(main::ButtonBox(2)));
    frame = f.pages.ComposeFrame();
    QVERIFY(NearColour(RegionColour(frame, f.layout.MainRegions[main::MousePart(2)]), SyntheticSkin::Over()));
    QVERIFY(NearColour(RegionColour(frame, f.layout.MainRegions[main::MousePart(1)]), SyntheticSkin::Normal()));
}

void DrawingTest::pressedSliderKeepsItsBar() {
    PagesFixture f;
    f.OnPage(kAdvancedPage);
    f.settings.fireTime = 0;
    const QPoint right(190, 134);
    f.state.HoverIn(orv::kAdvancedTable) = advanced::kFireTimeSlider;
    QVERIFY(NearColour(PixelAt(f.pages.ComposeFrame(), right), SyntheticSkin::Over()));
    f.state.ButtonHeld = true;
    QVERIFY(NearColour(PixelAt(f.pages.ComposeFrame(), right), SyntheticSkin::Normal()));
    f.state.HoverIn(orv::kAdvancedTable) = advanced::kFireTimeUp;
    QVERIFY(NearColour(RegionColour(f.pages.ComposeFrame(), f.layout.AdvancedRegions[advanced::kFireTimeUp]),
                       SyntheticSkin::Down()));
}

void DrawingTest::dpiCellsInLevelColours() {
    PagesFixture f;
    f.settings.dpiStep = {0, 5, 11, 11};
    const QImage frame = f.pages.ComposeFrame();
    const auto cellColour = [&](int level, int step, int dx, int dy) {
        const auto& r = f.layout.MainRegions[static_cast<size_t>(main::DpiCell(level, step))];
        return frame.pixelColor(r.x + dx, r.y + dy);
    };
    // Filled: (x + 1, y + 1, width - 2, height - 1) of each cell up to the step.
    QCOMPARE(cellColour(0, 0, 1, 1), orv::kDpiLevelColours[0]);
    QCOMPARE(cellColour(0, 0, 12, 8), orv::kDpiLevelColours[0]);
    QVERIFY(NearColour(cellColour(0, 0, 0, 1), SyntheticSkin::Normal()));
    QVERIFY(NearColour(cellColour(0, 0, 1, 0), SyntheticSkin::Normal()));
    QVERIFY(NearColour(cellColour(0, 0, 13, 1), SyntheticSkin::Normal()));
    QVERIFY(NearColour(cellColour(0, 1, 5, 5), SyntheticSkin::Normal()));

    QCOMPARE(cellColour(1, 5, 5, 5), orv::kDpiLevelColours[1]);
    QVERIFY(NearColour(cellColour(1, 6, 5, 5), SyntheticSkin::Normal()));
    for (int step = 0; step < main::kDpiCellsPerLevel; ++step) {
        QCOMPARE(cellColour(2, step, 5, 5), orv::kDpiLevelColours[2]);
        QCOMPARE(cellColour(3, step, 5, 5), QColor(128, 0, 255));
    }

    // A step beyond the row (a hand-edited file) fills the row and nothing past it.
    f.settings.dpiStep[3] = 200;
    const QImage clamped = f.pages.ComposeFrame();
    QCOMPARE(clamped.pixelColor(PagesFixture::Centre(f.layout.MainRegions[main::kLastDpiCell])), QColor(128, 0, 255));
    QVERIFY(NearColour(clamped.pixelColor(PagesFixture::Centre(f.layout.MainRegions[main::kLastDpiCell + 1])),
                       SyntheticSkin::Normal()));
}

void DrawingTest::headerPrecedence() {
    struct Case {
        int32_t profile;
        Language language;
        uint8_t page;
        int32_t hover;
        bool held;
        int region;
        QColor expected;
    };
    const QColor normal = SyntheticSkin::Normal(), over = SyntheticSkin::Over(), down = SyntheticSkin::Down();
    const Language en = Language::English(), cn = Language::Chinese();
    const int32_t one = main::ProfileButton(1), two = main::ProfileButton(2);
    const Case cases[] = {
        {1, en, kMainPage, kNone, false, one, down},  // the current profile
        {1, en, kMainPage, one, false, one, down},    // ... is pressed even when hovered
        {1, en, kMainPage, kNone, false, two, normal},
        {1, en, kMainPage, two, false, two, over},
        {1, en, kMainPage, two, true, two, down},
        {1, en, kMainPage, kNone, false, main::kMainTab, down},           // the tab of the page
        {1, en, kMainPage, main::kMainTab, false, main::kMainTab, over},  // hover beats the tab
        {1, en, kColorPage, kNone, false, main::kColorTab, down},
        {1, en, kColorPage, kNone, false, main::kMainTab, normal},
        {1, en, kAdvancedPage, main::kHideToTray, false, main::kHideToTray, over},
        {0, en, kMainPage, kNone, false, main::ProfileButton(0), down},  // no profile recorded
        {1, en, kMainPage, kNone, false, main::kEnglish, down},
        {1, en, kMainPage, kNone, false, main::kChinese, normal},
        {1, cn, kMainPage, kNone, false, main::kChinese, down},
        {1, cn, kMainPage, kNone, false, main::kEnglish, normal},
        {1, cn, kMainPage, main::kChinese, false, main::kChinese, over},
        // A hand-edited language other than 0 and 1 is English, but neither button is selected.
        {1, Language::FromSetting(2), kMainPage, kNone, false, main::kEnglish, normal},
        {1, Language::FromSetting(2), kMainPage, kNone, false, main::kChinese, normal},
    };
    for (const Case& c : cases) {
        PagesFixture f;
        f.currentProfile = c.profile;
        f.language = c.language;
        f.state.CurrentPage = c.page;
        f.state.HoverIn(orv::kMainTable) = c.hover;
        f.state.ButtonHeld = c.held;
        const QColor actual = RegionColour(f.pages.ComposeFrame(), f.layout.MainRegions[static_cast<size_t>(c.region)]);
        QVERIFY2(NearColour(actual, c.expected),
                 qPrintable(QString("region %1 hover %2: %3").arg(c.region).arg(c.hover).arg(actual.name())));
    }
}

void DrawingTest::fireTimeBarWidth() {
    struct Case {
        int32_t fireTime;
        int lastDown;  // -1: no bar
    };
    for (const Case& c : {Case{0, -1}, Case{150, 99}, Case{300, 199}, Case{1, -1}, Case{2, 0}, Case{400, 199}}) {
        PagesFixture f;
        f.OnPage(kAdvancedPage);
        f.settings.fireTime = c.fireTime;
        const QImage frame = f.pages.ComposeFrame();
        const int y = 131;
        if (c.lastDown >= 0)
            QVERIFY2(NearColour(frame.pixelColor(c.lastDown, y), SyntheticSkin::Down()),
                     qPrintable(QString::number(c.fireTime)));
        if (c.lastDown + 1 < 200)
            QVERIFY2(NearColour(frame.pixelColor(c.lastDown + 1, y), SyntheticSkin::Normal()),
                     qPrintable(QString::number(c.fireTime)));
        QVERIFY(NearColour(frame.pixelColor(205, y), SyntheticSkin::Normal()));
    }
}

void DrawingTest::advancedPageStates() {
    EditorPages f;
    f.OnPage(kAdvancedPage);
    f.settings.pointerSpeed = 3;
    f.settings.wheelSpeed = 9;
    f.settings.macroMode = 0;
    f.macros.User(f.macros.selectedMacro).SetRepeatOn(0);
    QImage frame = f.pages.ComposeFrame();
    const auto colour = [&](int index) {
        return RegionColour(frame, f.layout.AdvancedRegions[static_cast<size_t>(index)]);
    };
    QVERIFY(NearColour(colour(advanced::PointerSpeedSegment(3)), SyntheticSkin::Down()));
    QVERIFY(NearColour(colour(advanced::PointerSpeedSegment(4)), SyntheticSkin::Normal()));
    QVERIFY(NearColour(colour(advanced::WheelSpeedSegment(9)), SyntheticSkin::Down()));
    const int toggles[] = {advanced::kRecord, advanced::kRepeat, advanced::kHoldMode};
    for (int index : toggles)
        QVERIFY(NearColour(colour(index), SyntheticSkin::Normal()));

    f.settings.macroMode = 1;
    f.macros.User(f.macros.selectedMacro).SetRepeatOn(1);
    frame = f.pages.ComposeFrame();
    QVERIFY(NearColour(colour(advanced::kRepeat), SyntheticSkin::Down()));
    QVERIFY(NearColour(colour(advanced::kHoldMode), SyntheticSkin::Down()));
    // A recording starts the selected macro afresh, its repeat off.
    f.Record();
    QVERIFY(f.capture.Active());
    frame = f.pages.ComposeFrame();
    QVERIFY(NearColour(colour(advanced::kRecord), SyntheticSkin::Down()));
    QVERIFY(NearColour(colour(advanced::kRepeat), SyntheticSkin::Normal()));
}

void DrawingTest::colorPageStatesAndPreview() {
    PagesFixture f;
    f.OnPage(kColorPage);
    f.settings.ledStatus = 2;
    struct Case {
        bool dark;
        int32_t colour;
        QColor expected;
    };
    // The preview's drawing over the page's own, as the preview feature lays it.
    Case shown{};
    f.pages.AddLayer(kColorPage,
                     [&shown](const orv::PageFrame& frame) { orv::DrawPreview(frame, shown.dark, shown.colour); });
    for (const Case& c : {Case{true, 2, SyntheticSkin::Gray()}, Case{false, 0, SyntheticSkin::Blue()},
                          Case{false, 1, SyntheticSkin::Normal()}, Case{false, 2, SyntheticSkin::Over()},
                          Case{false, 3, SyntheticSkin::Down()}}) {
        shown = c;
        const QImage frame = f.pages.ComposeFrame();
        QVERIFY(NearColour(RegionColour(frame, f.layout.ColorRegions[color::kPreview]), c.expected));
        QVERIFY(NearColour(RegionColour(frame, f.layout.ColorRegions[color::ModeTile(2)]), SyntheticSkin::Down()));
        QVERIFY(NearColour(RegionColour(frame, f.layout.ColorRegions[color::ModeTile(1)]), SyntheticSkin::Normal()));
    }
}

void DrawingTest::labelsPlacedAndColoured() {
    struct Case {
        const char* name;
        uint8_t page;
        Language language;
        std::function<void(EditorPages&)> setUp;
        Table table;
        int index;
        QString text;
        bool centred;  // else 5 pixels from the left, centred vertically
        QColor colour;
    };
    const Language en = Language::English(), cn = Language::Chinese();
    const Case cases[] = {
        {"main label", kMainPage, en, [](PagesFixture& f) { f.layout.MainRegions[kLabelRegion].label = "Hi"; },
         Table::Main, kLabelRegion, "Hi", true, Qt::white},
        {"label wider than its region", kMainPage, en,
         [](PagesFixture& f) {
             f.layout.MainRegions[kLabelRegion].label = "WWWWWWWWW";
             // An odd overhang, where truncating the half differs from rounding it down.
             const int text = QFontMetrics(f.pages.Fonts().EnglishFont).horizontalAdvance("WWWWWWWWW");
             f.layout.MainRegions[kLabelRegion].width = (text % 2 == 0) ? 13 : 12;
         },
         Table::Main, kLabelRegion, "WWWWWWWWW", true, Qt::white},
        {"user macro on a hovered button", kMainPage, en,
         [](PagesFixture& f) {
             f.settings.buttonFunction[2] = 42;
             f.layout.FunctionNames[42] = "not this";
             f.state.HoverIn(orv::kMainTable) = main::ButtonBox(2);
         },
         Table::Main, main::ButtonBox(2), "Beta", false, Qt::red},
        {"function name", kMainPage, cn,
         [](PagesFixture& f) {
             f.settings.buttonFunction[0] = 7;
             f.layout.FunctionNames[7] = "中键";
         },
         Table::Main, main::ButtonBox(0), "中键", false, Qt::white},
        {"code past the table", kMainPage, en,
         [](PagesFixture& f) {
             f.settings.buttonFunction[0] = orv::kLastUserMacroCode + 1;
             f.layout.FunctionNames[orv::kLastUserMacroCode + 1] = "Disabled";
         },
         Table::Main, main::ButtonBox(0), "", false, Qt::white},
        {"fire time", kAdvancedPage, en, [](PagesFixture& f) { f.settings.fireTime = 150; }, Table::Advanced,
         advanced::kFireTimeText, "150ms", true, Qt::white},
        {"stop while recording, hovered", kAdvancedPage, cn,
         [](EditorPages& f) {
             f.Record();
             f.state.HoverIn(orv::kAdvancedTable) = advanced::kRecord;
         },
         Table::Advanced, advanced::kRecord, "停止", true, Qt::red},
        {"record", kAdvancedPage, en, [](PagesFixture&) {}, Table::Advanced, advanced::kRecord, "Record", true,
         Qt::white},
        {"press lines", kAdvancedPage, en, [](EditorPages& f) { f.ShowKeys(3, 0); }, Table::Advanced,
         advanced::kDownLinesText, "[↓]3", true, Qt::white},
        {"release lines", kAdvancedPage, en, [](EditorPages& f) { f.ShowKeys(0, 12); }, Table::Advanced,
         advanced::kUpLinesText, "[↑]12", true, Qt::white},
        {"applied DPI", kColorPage, en,
         [](PagesFixture& f) {
             f.settings.dpiLevel = 2;
             f.applied.appliedDpiCode[2] = 15;
         },
         Table::Color, color::kDpiText, "4800", true, Qt::white},
        {"unknown DPI code", kColorPage, en,
         [](PagesFixture& f) {
             f.settings.dpiLevel = 1;
             f.applied.appliedDpiCode[1] = 8;
             f.layout.ColorRegions[color::kDpiText].label = "label";
         },
         Table::Color, color::kDpiText, "200", true, Qt::white},
    };
    for (const Case& c : cases) {
        EditorPages f;
        f.state.CurrentPage = c.page;
        f.language = c.language;
        // Everything but the region under test lies far off the canvas.
        for (auto& r : f.layout.MainRegions)
            r.x -= 10000;
        for (auto& r : f.layout.AdvancedRegions)
            r.x -= 10000;
        for (auto& r : f.layout.ColorRegions)
            r.x -= 10000;
        c.setUp(f);
        orv::SkinRegion& region = RegionOf(f, c.table, c.index);
        region.x += 10000 + 60;
        region.y += 20;

        const QFont& font = f.pages.Fonts().ForLanguage(c.language);
        QImage actual(f.skin.Size(), QImage::Format_RGB32);
        actual.fill(Qt::black);
        {
            QPainter painter(&actual);
            const int count = c.page == kMainPage       ? main::kLabelCount
                              : c.page == kAdvancedPage ? main::kHeaderCount + advanced::kLabelCount
                                                        : main::kHeaderCount + color::kLabelCount;
            orv::DrawLabels(painter, count, f.model, f.state, font, f.pages.Drawing());
        }
        QImage expected(f.skin.Size(), QImage::Format_RGB32);
        expected.fill(Qt::black);
        {
            QPainter painter(&expected);
            painter.setFont(font);
            painter.setPen(c.colour);
            const QFontMetrics metrics(font);
            const int width = metrics.horizontalAdvance(c.text);
            const int x = c.centred ? region.x + (region.width - width) / 2 : region.x + 5;
            const int y = region.y + (region.height - metrics.height()) / 2;
            painter.drawText(QPoint(x, y + metrics.ascent()), c.text);
        }
        QVERIFY2(actual == expected, c.name);
    }
}

void DrawingTest::shapeCutsLightPixels() {
    QImage mask(5, 3, QImage::Format_RGB32);
    mask.fill(QColor(0, 0, 0));
    QVERIFY(SameArea(orv::ShapeFromMask(mask).outline, QRegion(0, 0, 5, 3)));

    mask.setPixelColor(1, 1, QColor(101, 101, 101));
    mask.setPixelColor(2, 1, QColor(100, 255, 255));
    mask.setPixelColor(3, 1, QColor(255, 255, 100));
    mask.setPixelColor(4, 2, QColor(255, 255, 255));
    mask.setPixelColor(0, 0, QColor(255, 255, 255));
    const orv::MaskShape shape = orv::ShapeFromMask(mask);
    QCOMPARE(shape.size, QSize(5, 3));
    QVERIFY(!shape.outline.contains(QPoint(1, 1)));
    QVERIFY(shape.outline.contains(QPoint(2, 1)));
    QVERIFY(shape.outline.contains(QPoint(3, 1)));
    QVERIFY(!shape.outline.contains(QPoint(4, 2)));
    QVERIFY(!shape.outline.contains(QPoint(0, 0)));
    QVERIFY(shape.outline.contains(QPoint(1, 0)));
    QVERIFY(!shape.outline.contains(QPoint(5, 1)));

    // From the skin's mask file: an all-dark mask gives the whole rectangle.
    SyntheticSkin skin({40, 30});
    skin.WriteFlatPicture("main_mask.jpg", QColor(10, 10, 10));
    QWidget window;
    const auto fromFile = orv::ShapeFromMask(window, skin.SkinDirectory() / "main_mask.jpg");
    QVERIFY(fromFile);
    QCOMPARE(fromFile->size, QSize(40, 30));
    QVERIFY(SameArea(fromFile->outline, QRegion(0, 0, 40, 30)));
    QVERIFY(!orv::ShapeFromMask(window, skin.SkinDirectory() / "missing.jpg"));
}

void DrawingTest::shapeMatchesPixelByPixelRegion() {
    // Random pixels, a light last column, and identical rows (merged into one band).
    std::mt19937 random(7);
    QImage mask(37, 23, QImage::Format_RGB32);
    QRegion expected(0, 0, 37, 23);
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const bool light = y >= 15 ? (x % 5 == 0) : (random() % 3 == 0 || x == 36);
            mask.setPixelColor(x, y, light ? QColor(200, 200, 200) : QColor(20, 20, 20));
            if (light)
                expected = expected.xored(QRegion(x, y, 1, 1));
        }
    }
    QVERIFY(SameArea(orv::ShapeFromMask(mask).outline, expected));
}

void DrawingTest::advancedRepaintRegionLeavesOutControls() {
    const QRegion outline(0, 0, 200, 100);
    const std::array<QRect, 4> rects{QRect(0, 0, 10, 10), QRect(20, 0, 10, 10), QRect(40, 0, 10, 10),
                                     QRect(60, 0, 10, 10)};
    const QRegion region = orv::AdvancedRepaintRegion(outline, rects);
    QVERIFY(region.contains(QPoint(5, 5)));
    QVERIFY(!region.contains(QPoint(25, 5)));
    QVERIFY(!region.contains(QPoint(45, 5)));
    QVERIFY(!region.contains(QPoint(65, 5)));
    QVERIFY(region.contains(QPoint(75, 5)));

    PagesFixture f;  // the pages build it from the skin's control rectangles
    QVERIFY(f.pages.AdvancedRepaintRegion().contains(QPoint(5, 145)));
    QVERIFY(!f.pages.AdvancedRepaintRegion().contains(QPoint(50, 145)));
    QVERIFY(!f.pages.AdvancedRepaintRegion().contains(QPoint(110, 155)));
    QVERIFY(!f.pages.AdvancedRepaintRegion().contains(QPoint(170, 145)));
}

void DrawingTest::replacedPictureShowsNextPaint() {
    PagesFixture f;
    const QPoint point = f.MainCentre(kPlainRegion);
    QVERIFY(NearColour(f.pages.ComposeFrame().pixelColor(point), SyntheticSkin::Normal()));
    QVERIFY(NearColour(f.pages.ComposeFrame().pixelColor(point), SyntheticSkin::Normal()));

    f.skin.WriteFlatPicture("main_normal.jpg", QColor(200, 0, 0));
    // As an editor saving a second later would leave it.
    QFile file(QString::fromStdString((f.skin.SkinDirectory() / "main_normal.jpg").string()));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(2), QFileDevice::FileModificationTime));
    file.close();
    QVERIFY(NearColour(f.pages.ComposeFrame().pixelColor(point), QColor(200, 0, 0)));

    // A picture that disappears draws nothing instead of the stale one.
    QVERIFY(file.remove());
    QCOMPARE(f.pages.ComposeFrame().pixelColor(point), QColor(Qt::black));
}

void DrawingTest::paintDrawsTheComposedFrame() {
    PagesFixture f;
    PaintedWindow window;
    orv::MainWindowPages pages(f.session, f.model, f.state, f.notices, f.host, window);
    int beforePaint = 0;
    pages.BeforePaint([&beforePaint] { ++beforePaint; });
    pages.ShapeWindow();
    window.pages = &pages;
    window.resize(f.skin.Size());
    f.state.HoverIn(orv::kMainTable) = kPlainRegion;
    const QImage grabbed = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(grabbed, pages.ComposeFrame());
    QCOMPARE(beforePaint, 1);
}

void DrawingTest::minimisedWindowShowsItsIcon() {
    if (orv::test::OnWindows()) {
        QSKIP("Windows never shows the client area of a minimised window");
    }
    PagesFixture f;
    f.state.HoverIn(orv::kMainTable) = kPlainRegion;
    QPixmap icon(64, 64);
    icon.fill(QColor(255, 0, 0));
    f.window.setWindowIcon(QIcon(icon));
    const QColor background(10, 20, 30);
    QPalette palette = f.window.palette();
    palette.setColor(QPalette::Window, background);
    f.window.setPalette(palette);
    f.window.resize(101, 80);
    f.window.showMinimized();
    QVERIFY(f.window.isMinimized());

    QImage painted(f.window.size(), QImage::Format_RGB32);
    painted.fill(Qt::white);
    {
        QPainter painter(&painted);
        f.pages.PaintMainWindow(painter);
    }
    // The system's icon size, centred with the halves rounded up.
    const int extent = f.window.style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, &f.window);
    const QRect iconRect((101 - extent + 1) / 2, (80 - extent + 1) / 2, extent, extent);
    QCOMPARE(painted.pixelColor(iconRect.topLeft()), QColor(255, 0, 0));
    QCOMPARE(painted.pixelColor(iconRect.bottomRight()), QColor(255, 0, 0));
    QCOMPARE(painted.pixelColor(iconRect.topLeft() - QPoint(1, 1)), background);
    QCOMPARE(painted.pixelColor(iconRect.bottomRight() + QPoint(1, 1)), background);
    QCOMPARE(painted.pixelColor(0, 0), background);
}

void DrawingTest::fontsAtTheirHeights() {
    const orv::SkinFonts fonts = orv::CreateSkinFonts();
    // The English 14 is a cell height (ascent + descent): the largest font whose cell fits,
    // not a 14-pixel em with a taller cell. The Chinese 12 is the em.
    QVERIFY(QFontMetrics(fonts.EnglishFont).height() <= 14);
    QFont larger = fonts.EnglishFont;
    larger.setPixelSize(QFontInfo(fonts.EnglishFont).pixelSize() + 1);
    QVERIFY(QFontMetrics(larger).height() > 14);
    QCOMPARE(QFontInfo(fonts.ChineseFont).pixelSize(), 12);
    QVERIFY(QFontInfo(fonts.EnglishFont).fixedPitch());
    QVERIFY(qAbs(QFontMetrics(fonts.EnglishFont).horizontalAdvance("0123456789") - 70) <= 10);
    QVERIFY(QFontMetrics(fonts.ChineseFont).inFont(QChar(0x4E2D)));
}

// "[", the arrow, "]" and a "1" after them are four marks in either language: an arrow that
// runs into its brackets makes fewer. (A wider count or key may touch the bracket in a narrow
// font, which is that font's look.)
void DrawingTest::arrowMarkersStandApartFromTheirBrackets() {
    for (const Language language : {Language::English(), Language::Chinese()}) {
        EditorPages f;
        f.language = language;
        f.layout.AdvancedRegions[advanced::kDownLinesText] = orv::SkinRegion{10, 142, 100, 16, ""};
        f.layout.AdvancedRegions[advanced::kUpLinesText] = orv::SkinRegion{120, 142, 100, 16, ""};
        f.layout.ControlRects[orv::kEventListRect] = orv::SkinRect{130, 20, 235, 78};
        f.ShowKeys(1, 1);  // "[↓]1" and "[↑]1" in the list, one of each counted
        const QImage frame = f.pages.ComposeFrame();
        for (int counter : {advanced::kDownLinesText, advanced::kUpLinesText}) {
            const auto& r = f.layout.AdvancedRegions[static_cast<size_t>(counter)];
            QCOMPARE(MarksIn(frame, QRect(r.x, r.y, r.width, r.height), SyntheticSkin::Normal()), 4);
        }

        QListWidget& events = *f.Find<QListWidget>("EventList");
        {
            // A selected line has a background of its own.
            const QSignalBlocker quiet(&events);
            events.setCurrentRow(-1);
        }
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        const QImage list = events.viewport()->grab().toImage();
        for (int line : {0, 2})
            QCOMPARE(MarksIn(list, events.visualItemRect(events.item(line)), Qt::black), 4);
    }
}

QTEST_MAIN(DrawingTest)
#include "tst_drawing.moc"
