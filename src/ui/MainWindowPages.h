#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QSize>
#include <QString>

#include "ui/ComposeFrame.h"
#include "ui/PageModel.h"
#include "ui/PageState.h"
#include "ui/PictureCache.h"
#include "ui/SkinFonts.h"

class QPainter;
class QWidget;

namespace orv {

class Session;
class UserNotices;
class WindowHost;

// Where a click landed: the hit region's place in the range of the row that acts, and the
// client point.
struct RegionHit {
    int32_t offset;
    QPoint point;
};
using RegionAction = std::function<void(RegionHit hit)>;

// The three skinned pages of the main window: drawing, hit-testing, clicks and page switches.
// The window forwards its paint and mouse events here. What a click on a region does is a row of
// the pages' click tables: the pages add their own (the page tabs, the working profile's
// settings, save, apply, the profile buttons, hide, minimise, close), and each feature adds its
// rows, its drawing and what it does when a page is shown or left.
class MainWindowPages {
public:
    // The profile controls act through the session, the model's records are its; what becomes
    // of them is told through notices.
    MainWindowPages(Session& session, PageModel& model, PageState& state, UserNotices& notices, WindowHost& host,
                    QWidget& window);
    MainWindowPages(const MainWindowPages&) = delete;
    MainWindowPages& operator=(const MainWindowPages&) = delete;

    // While page is shown, a press whose hover index in table lies in first..last runs act. The
    // rows of a page are tried in the order added, and the first that holds its index acts.
    void AddPressRow(uint8_t page, RegionTable table, int32_t first, int32_t last, RegionAction act);
    // On every page, a release over header region first..last runs act.
    void AddReleaseRow(int32_t first, int32_t last, RegionAction act);
    // Runs before a press on page reaches its rows.
    void BeforePress(uint8_t page, std::function<void()> hook);
    // Runs each time page is shown, once CurrentPage is page; OnPageLeft when another page is
    // shown instead, after that page's own hooks.
    void OnPageShown(uint8_t page, std::function<void()> hook);
    void OnPageLeft(uint8_t page, std::function<void()> hook);
    // Runs before each paint of the window.
    void BeforePaint(std::function<void()> hook);
    // Drawn over page's own look, below the header and the texts.
    void AddLayer(uint8_t page, std::function<void(const PageFrame&)> layer);
    // The text of region of table, in place of its label in the skin.
    void AddLabel(RegionTable table, int32_t region, std::function<QString()> text);

    // Reads "main_mask.jpg": gives the window its outline and sets SkinSize and
    // AdvancedRepaintRegion. False when the mask cannot be read; the window is then unchanged.
    bool ShapeWindow();
    QSize SkinSize() const { return skinSize_; }
    const QRegion& AdvancedRepaintRegion() const { return advancedRepaintRegion_; }

    PageModel& Model() const { return model_; }
    PageState& State() const { return state_; }
    // The font of every skin text, the controls and the popups, by the current language.
    const QFont& TextFont() const;
    const SkinFonts& Fonts() const { return fonts_; }
    // The skin pictures decoded for the window, its menus and popups.
    PictureCache& Pictures() { return pictures_; }
    const FrameHooks& Drawing() const { return drawing_; }

    // Paints one whole frame at (0, 0).
    void PaintMainWindow(QPainter& painter);
    // The frame PaintMainWindow would paint (also used for screenshots).
    QImage ComposeFrame();
    // While the window is hidden nothing is painted: the pictures are let go and decoded again
    // by the next paint.
    void ReleasePictures() { pictures_.Clear(); }
    size_t PicturesHeld() const { return pictures_.Held(); }

    void OnMouseMove(QPoint point);
    void OnLeftButtonDown(QPoint point);
    void OnLeftButtonUp(QPoint point);

    // kMainPage, kAdvancedPage or kColorPage, as its tab shows it.
    void ShowPage(uint8_t page);
    void ShowMainPage() { ShowPage(kMainPage); }
    void ShowAdvancedPage() { ShowPage(kAdvancedPage); }
    void ShowColorPage() { ShowPage(kColorPage); }

    // What a profile button and APPLY do, for a feature that chooses or applies a profile
    // itself: the session's operation, what becomes of it told through the notices, a repaint.
    // A profile that cannot be read leaves the window on the one it shows.
    void SelectProfile(int32_t profile);
    void ApplyProfile();

private:
    struct Row {
        RegionTable table;
        int32_t first;
        int32_t last;
        RegionAction act;
    };
    using Hooks = std::vector<std::function<void()>>;

    void AddOwnRows();
    void AddTabRows(uint8_t page);
    void AddMainPageRows();
    void AddAdvancedPageRows();
    void AddColorPageRows();
    void AddReleaseRows();
    // Runs the first row holding the hover index of its table; false when none does.
    bool Act(const std::vector<Row>& rows, QPoint point);
    void SaveProfile();
    void SetFireTimeFromSlider(QPoint point);
    void StartDrag(QPoint point);
    void HideToTray();

    Session& session_;
    PageModel& model_;
    PageState& state_;
    UserNotices& notices_;
    WindowHost& host_;
    QWidget& window_;
    SkinFonts fonts_;
    PictureCache pictures_;
    QSize skinSize_;
    QRegion advancedRepaintRegion_;
    std::array<std::vector<Row>, kRegionTables> pressRows_;
    std::vector<Row> releaseRows_;
    std::array<Hooks, kRegionTables> beforePress_;
    std::array<Hooks, kRegionTables> pageShown_;
    std::array<Hooks, kRegionTables> pageLeft_;
    Hooks beforePaint_;
    FrameHooks drawing_;
};

}  // namespace orv
