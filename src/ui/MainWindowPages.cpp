#include "ui/MainWindowPages.h"

#include <algorithm>

#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QWidget>

#include "session/Session.h"
#include "settings/ProfileEdits.h"
#include "skin/HitTest.h"
#include "skin/SkinLayout.h"
#include "ui/DrawingGeometry.h"
#include "ui/ShapeFromMask.h"
#include "ui/UserNotices.h"
#include "ui/WindowHost.h"

namespace orv {

namespace {

// The pages' hook lists are indexed by page; anything past the colour page draws as that page.
size_t PageIndex(uint8_t page) { return std::min<size_t>(page, kColorPage); }

void Run(const std::vector<std::function<void()>>& hooks) {
    for (const auto& hook : hooks)
        hook();
}

// Where a window system still shows the client area of a minimised window, it shows the
// program's icon rather than a squeezed page.
void DrawMinimisedIcon(QPainter& painter, const QWidget& window) {
    const QRect client = window.rect();
    painter.fillRect(client, window.palette().color(QPalette::Window));
    const int extent = window.style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, &window);
    const QRect icon((client.width() - extent + 1) / 2, (client.height() - extent + 1) / 2, extent, extent);
    window.windowIcon().paint(&painter, icon);
}

}  // namespace

MainWindowPages::MainWindowPages(Session& session, PageModel& model, PageState& state, UserNotices& notices,
                                 WindowHost& host, QWidget& window)
    : session_(session),
      model_(model),
      state_(state),
      notices_(notices),
      host_(host),
      window_(window),
      fonts_(CreateSkinFonts()) {
    AddOwnRows();
}

void MainWindowPages::AddPressRow(uint8_t page, RegionTable table, int32_t first, int32_t last, RegionAction act) {
    pressRows_[PageIndex(page)].push_back({table, first, last, std::move(act)});
}

void MainWindowPages::AddReleaseRow(int32_t first, int32_t last, RegionAction act) {
    releaseRows_.push_back({kMainTable, first, last, std::move(act)});
}

void MainWindowPages::BeforePress(uint8_t page, std::function<void()> hook) {
    beforePress_[PageIndex(page)].push_back(std::move(hook));
}

void MainWindowPages::OnPageShown(uint8_t page, std::function<void()> hook) {
    pageShown_[PageIndex(page)].push_back(std::move(hook));
}

void MainWindowPages::OnPageLeft(uint8_t page, std::function<void()> hook) {
    pageLeft_[PageIndex(page)].push_back(std::move(hook));
}

void MainWindowPages::BeforePaint(std::function<void()> hook) { beforePaint_.push_back(std::move(hook)); }

void MainWindowPages::OnUserProfileChoice(std::function<void()> hook) { userProfileChoice_.push_back(std::move(hook)); }

void MainWindowPages::AddLayer(uint8_t page, std::function<void(const PageFrame&)> layer) {
    drawing_.layers[PageIndex(page)].push_back(std::move(layer));
}

void MainWindowPages::AddLabel(RegionTable table, int32_t region, std::function<QString()> text) {
    drawing_.labels[table][region] = std::move(text);
}

bool MainWindowPages::ShapeWindow() {
    const auto shape = ShapeFromMask(window_, model_.skinDirectory / "main_mask.jpg");
    if (!shape)
        return false;
    skinSize_ = shape->size;
    std::array<QRect, 4> rects;
    for (size_t i = 0; i < rects.size(); ++i)
        rects[i] = ControlRect(model_.skin.ControlRects[i]);
    advancedRepaintRegion_ = orv::AdvancedRepaintRegion(shape->outline, rects);
    return true;
}

const QFont& MainWindowPages::TextFont() const { return fonts_.ForLanguage(model_.language); }

void MainWindowPages::PaintMainWindow(QPainter& painter) {
    Run(beforePaint_);
    if (window_.isMinimized()) {
        DrawMinimisedIcon(painter, window_);
        return;
    }
    painter.drawImage(QPoint(0, 0), ComposeFrame());
}

QImage MainWindowPages::ComposeFrame() {
    return orv::ComposeFrame(model_, state_, pictures_, fonts_, skinSize_, drawing_, window_.devicePixelRatioF());
}

void MainWindowPages::OnMouseMove(QPoint point) {
    const SkinLayout& skin = model_.skin;
    const bool mainPage = state_.CurrentPage == kMainPage;
    const int32_t mainLast = mainPage ? region::main::kLastOnMainPage : region::main::kLastHeader;
    state_.HoverIn(kMainTable) = HitTest(point.x(), point.y(), skin.MainRegions, mainLast);
    state_.HoverIn(kAdvancedTable) =
        HitTest(point.x(), point.y(), skin.AdvancedRegions, region::advanced::kLastHitTested);
    state_.HoverIn(kColorTable) = HitTest(point.x(), point.y(), skin.ColorRegions, region::color::kLastHitTested);

    for (PageState::Hover& hover : state_.hover) {
        if (hover.index == hover.repainted)
            continue;
        // Repainting the whole advanced page would make its edit and list controls flicker.
        if (state_.CurrentPage == kAdvancedPage)
            host_.RepaintRegion(advancedRepaintRegion_);
        else
            host_.Repaint();
        host_.UpdateNow();
        hover.repainted = hover.index;
    }
}

// A press over none of the regions the page hit-tests (its own table's and the header's) drags
// the window.
void MainWindowPages::OnLeftButtonDown(QPoint point) {
    // A press can arrive without a move to its point (a window shown under a still cursor).
    OnMouseMove(point);
    using region::kNone;
    if (std::any_of(state_.hover.begin(), state_.hover.end(), [](const auto& h) { return h.index != kNone; })) {
        state_.ButtonHeld = true;
        host_.Repaint();
    }
    const size_t page = PageIndex(state_.CurrentPage);
    Run(beforePress_[page]);
    if (Act(pressRows_[page], point))
        return;
    if (state_.HoverIn(static_cast<RegionTable>(page)) == kNone && state_.HoverIn(kMainTable) == kNone)
        StartDrag(point);
}

// The release decides: the region under the mouse now, wherever the press was.
void MainWindowPages::OnLeftButtonUp(QPoint point) {
    OnMouseMove(point);
    state_.ButtonHeld = false;
    host_.Repaint();
    Act(releaseRows_, point);
}

bool MainWindowPages::Act(const std::vector<Row>& rows, QPoint point) {
    for (const Row& row : rows) {
        const int32_t hover = state_.HoverIn(row.table);
        if (hover >= row.first && hover <= row.last) {
            row.act(RegionHit{hover - row.first, point});
            return true;
        }
    }
    return false;
}

// The page being left hears of it after the new page's own hooks: the colour page's preview
// decides whether its thread still runs in one step with the thread's own decision to end.
void MainWindowPages::ShowPage(uint8_t page) {
    const size_t left = PageIndex(state_.CurrentPage);
    state_.CurrentPage = page;
    // Repainting the whole advanced page would make its edit and list controls flicker.
    if (page == kAdvancedPage)
        host_.RepaintRegion(advancedRepaintRegion_);
    Run(pageShown_[PageIndex(page)]);
    if (left != PageIndex(page))
        Run(pageLeft_[left]);
    if (page != kAdvancedPage)
        host_.Repaint();
}

void MainWindowPages::AddOwnRows() {
    AddMainPageRows();
    AddAdvancedPageRows();
    AddColorPageRows();
    AddReleaseRows();
}

// The tab of the page shown does nothing.
void MainWindowPages::AddTabRows(uint8_t page) {
    for (uint8_t other : {kMainPage, kAdvancedPage, kColorPage}) {
        if (other != page) {
            const int32_t tab = region::main::PageTab(other);
            AddPressRow(page, kMainTable, tab, tab, [this, other](RegionHit) { ShowPage(other); });
        }
    }
}

void MainWindowPages::AddMainPageRows() {
    using namespace region::main;
    ProfileSettings& settings = model_.settings;
    AddTabRows(kMainPage);
    AddPressRow(kMainPage, kMainTable, kSave, kSave, [this](RegionHit) { SaveProfile(); });
    AddPressRow(kMainPage, kMainTable, kFirstWheelStatus, kLastWheelStatus,
                [&settings](RegionHit hit) { settings.wheelStatus = hit.offset; });
    AddPressRow(kMainPage, kMainTable, kFirstDpiEnabled, kLastDpiEnabled,
                [&settings](RegionHit hit) { ToggleDpiEnabled(settings, hit.offset); });
    AddPressRow(kMainPage, kMainTable, kFirstDpiLevel, kLastDpiLevel,
                [&settings](RegionHit hit) { SelectDpiLevel(settings, hit.offset); });
    AddPressRow(kMainPage, kMainTable, kFirstDpiCell, kLastDpiCell, [this, &settings](RegionHit hit) {
        const auto level = static_cast<size_t>(hit.offset / kDpiCellsPerLevel);
        settings.dpiStep[level] = static_cast<uint8_t>(hit.offset % kDpiCellsPerLevel);
        host_.Repaint();
    });
}

void MainWindowPages::AddAdvancedPageRows() {
    using namespace region::advanced;
    ProfileSettings& settings = model_.settings;
    AddTabRows(kAdvancedPage);
    AddPressRow(kAdvancedPage, kAdvancedTable, kHoldMode, kHoldMode,
                [&settings](RegionHit) { ToggleHoldMode(settings); });
    AddPressRow(kAdvancedPage, kAdvancedTable, kFirstPointerSpeed, kLastPointerSpeed,
                [&settings](RegionHit hit) { settings.pointerSpeed = static_cast<uint8_t>(hit.offset); });
    AddPressRow(kAdvancedPage, kAdvancedTable, kFirstWheelSpeed, kLastWheelSpeed,
                [&settings](RegionHit hit) { settings.wheelSpeed = static_cast<uint8_t>(hit.offset); });
    AddPressRow(kAdvancedPage, kAdvancedTable, kFireTimeSlider, kFireTimeSlider,
                [this](RegionHit hit) { SetFireTimeFromSlider(hit.point); });
    AddPressRow(kAdvancedPage, kAdvancedTable, kFireTimeUp, kFireTimeUp, [this, &settings](RegionHit) {
        StepFireTimeUp(settings);
        host_.Repaint();
    });
    AddPressRow(kAdvancedPage, kAdvancedTable, kFireTimeDown, kFireTimeDown, [this, &settings](RegionHit) {
        StepFireTimeDown(settings);
        host_.Repaint();
    });
}

// The preview follows the applied mode, not the one chosen here.
void MainWindowPages::AddColorPageRows() {
    using namespace region::color;
    ProfileSettings& settings = model_.settings;
    AddTabRows(kColorPage);
    AddPressRow(kColorPage, kColorTable, kFirstMode, kLastMode,
                [&settings](RegionHit hit) { settings.ledStatus = static_cast<uint8_t>(hit.offset); });
}

// The header's release actions, on every page.
void MainWindowPages::AddReleaseRows() {
    using namespace region::main;
    AddReleaseRow(kHideToTray, kHideToTray, [this](RegionHit) { HideToTray(); });
    AddReleaseRow(kApply, kApply, [this](RegionHit) {
        Run(userProfileChoice_);
        ApplyProfile();
    });
    AddReleaseRow(kFirstProfile, kLastProfile, [this](RegionHit hit) {
        Run(userProfileChoice_);
        SelectProfile(hit.offset + 1);
    });
    AddReleaseRow(kMinimise, kMinimise, [this](RegionHit) {
        state_.HoverIn(kMainTable) = region::kNone;
        host_.Minimise();
    });
    AddReleaseRow(kClose, kClose, [this](RegionHit) {
        state_.HoverIn(kMainTable) = region::kNone;
        host_.CloseToTray();
    });
}

void MainWindowPages::SaveProfile() {
    notices_.ProfileSaved(session_.SaveProfile());
    host_.Repaint();
}

void MainWindowPages::ApplyProfile() {
    notices_.ProfileApplied(session_.ApplyProfile());
    host_.Repaint();
}

void MainWindowPages::SetFireTimeFromSlider(QPoint point) {
    const SkinRegion& slider = model_.skin.AdvancedRegions[region::advanced::kFireTimeSlider];
    model_.settings.fireTime = FireTimeAtSliderPoint(point.x(), slider.x, slider.width);
    host_.Repaint();
}

void MainWindowPages::StartDrag(QPoint point) {
    // The window system keeps the release of a drag, so a press that also hit another page's
    // region must not leave the next hovered region drawn pressed.
    state_.ButtonHeld = false;
    host_.StartDrag(point);
}

void MainWindowPages::HideToTray() {
    state_.HoverIn(kMainTable) = region::kNone;
    session_.FallBackToAppliedProfile();
    host_.HideToTray();
    host_.Repaint();
}

// Nothing is sent to the mouse: the profile reaches it with the next apply. A profile that
// cannot be read leaves the window on the one it shows.
void MainWindowPages::SelectProfile(int32_t profile) {
    if (session_.ChooseProfile(profile) == ProfileFound::Unreadable) {
        notices_.ConfigUnreadable();
        return;
    }
    host_.Repaint();
}

}  // namespace orv
