#include "ui/MainWindowPages.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QWidget>

#include "settings/ConfigFile.h"
#include "settings/ProfileEdits.h"
#include "skin/HitTest.h"
#include "skin/SkinLayout.h"
#include "ui/ComposeFrame.h"
#include "ui/FitWidthValidator.h"
#include "ui/MarkerText.h"
#include "ui/ShapeFromMask.h"

namespace orv {

namespace {

QRect ControlRect(const SkinRect& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

void StyleControl(QWidget& control, const QFont& font, const QRect& rect, int id, const char* name) {
    QPalette palette = control.palette();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Window, QPalette::AlternateBase}) {
        palette.setColor(role, Qt::black);
    }
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText}) {
        palette.setColor(role, Qt::white);
    }
    // A disabled repeat count must look disabled on black as well.
    palette.setColor(QPalette::Disabled, QPalette::Text, Qt::gray);
    control.setPalette(palette);
    control.setAutoFillBackground(true);
    control.setFont(font);
    control.setGeometry(rect);
    control.setObjectName(QString::fromLatin1(name));
    control.setProperty("controlId", id);
    control.show();
}

// Centred text that never scrolls sideways, without a border.
void StyleEdit(QLineEdit& edit) {
    edit.setFrame(false);
    edit.setAlignment(Qt::AlignCenter);
    edit.setValidator(new FitWidthValidator(edit));
}

// A vertical scroll bar when the lines need one, none sideways, no border.
void StyleList(QListWidget& list) {
    list.setFrameShape(QFrame::NoFrame);
    list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list.setSelectionMode(QAbstractItemView::SingleSelection);
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

MainWindowPages::MainWindowPages(PageModel& model, PageState& state, WindowHost& host, QWidget& window)
    : model_(model), state_(state), host_(host), window_(window), fonts_(CreateSkinFonts()) {}

MainWindowPages::~MainWindowPages() { DestroyAdvancedControls(); }

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
    if (state_.CloseMenuRequest) {
        state_.CloseMenuRequest = false;
        IfPresent(features_.functionMenus, &FunctionMenuController::CloseFunctionMenu);
    }
    if (window_.isMinimized()) {
        DrawMinimisedIcon(painter, window_);
        return;
    }
    painter.drawImage(QPoint(0, 0), ComposeFrame());
}

QImage MainWindowPages::ComposeFrame() {
    return orv::ComposeFrame(model_, state_, pictures_, fonts_, skinSize_, window_.devicePixelRatioF());
}

void MainWindowPages::OnMouseMove(QPoint point) {
    const SkinLayout& skin = model_.skin;
    const bool mainPage = state_.CurrentPage == kMainPage;
    const int32_t mainLast = mainPage ? region::main::kLastOnMainPage : region::main::kLastHeader;
    state_.MainHover = HitTest(point.x(), point.y(), skin.MainRegions, mainLast);
    state_.ColorHover = HitTest(point.x(), point.y(), skin.ColorRegions, region::color::kLastHitTested);
    state_.AdvancedHover = HitTest(point.x(), point.y(), skin.AdvancedRegions, region::advanced::kLastHitTested);

    const std::pair<int32_t, int32_t*> hovers[] = {
        {state_.MainHover, &state_.PreviousMainHover},
        {state_.ColorHover, &state_.PreviousColorHover},
        {state_.AdvancedHover, &state_.PreviousAdvancedHover},
    };
    for (const auto& [hover, previous] : hovers) {
        if (hover == *previous)
            continue;
        // Repainting the whole advanced page would make its edit and list controls flicker.
        if (state_.CurrentPage == kAdvancedPage)
            host_.RepaintRegion(advancedRepaintRegion_);
        else
            host_.Repaint();
        host_.UpdateNow();
        *previous = hover;
    }
}

void MainWindowPages::OnLeftButtonDown(QPoint point) {
    // A press can arrive without a move to its point (a window shown under a still cursor).
    OnMouseMove(point);
    using region::kNone;
    if (state_.MainHover != kNone || state_.ColorHover != kNone || state_.AdvancedHover != kNone) {
        state_.ButtonHeld = true;
        host_.Repaint();
    }
    switch (state_.CurrentPage) {
    case kMainPage:
        ClickMainPage(point);
        break;
    case kAdvancedPage:
        ClickAdvancedPage(point);
        break;
    default:
        ClickColorPage(point);
        break;
    }
}

void MainWindowPages::OnLeftButtonUp(QPoint point) {
    using namespace region::main;
    using P = MainWindowPages;
    using Exchange = ProfileExchangeController;
    // The header's release actions, on every page.
    static constexpr RegionAction kReleaseActions[] = {
        {kHideToTray, [](P& p, Hit) { p.HideToTray(); }},
        {kApply, [](P& p, Hit) { p.host_.ApplyProfile(); }},
        {kFirstProfile, kLastProfile, [](P& p, Hit hit) { p.SelectProfile(hit.offset + 1); }},
        {kMinimise,
         [](P& p, Hit) {
             p.state_.MainHover = region::kNone;
             p.host_.Minimise();
         }},
        {kClose,
         [](P& p, Hit) {
             p.state_.MainHover = region::kNone;
             p.host_.CloseToTray();
         }},
        // These reload the user macros, the one being recorded among them.
        {kDefaults,
         [](P& p, Hit) {
             if (p.MacroEditsSettled())
                 IfPresent(p.features_.profileExchange, &Exchange::RestoreDefaults);
         }},
        {kChinese,
         [](P& p, Hit) {
             if (p.MacroEditsSettled())
                 IfPresent(p.features_.language, &LanguageController::SwitchToChinese);
         }},
        {kEnglish,
         [](P& p, Hit) {
             if (p.MacroEditsSettled())
                 IfPresent(p.features_.language, &LanguageController::SwitchToEnglish);
         }},
    };
    // The release decides: the region under the mouse now, wherever the press was.
    OnMouseMove(point);
    state_.ButtonHeld = false;
    host_.Repaint();
    Act(state_.MainHover, kReleaseActions, point);
}

void MainWindowPages::ShowMainPage() {
    const bool leavingAdvanced = state_.CurrentPage == kAdvancedPage;
    state_.CurrentPage = kMainPage;
    if (leavingAdvanced)
        LeaveAdvancedPage();
    host_.Repaint();
}

void MainWindowPages::ShowAdvancedPage() {
    state_.CurrentPage = kAdvancedPage;
    host_.RepaintRegion(advancedRepaintRegion_);
    CreateAdvancedControls();
    host_.UpdateNow();
    if (features_.macroEditor) {
        features_.macroEditor->RefreshMacroList(AdvancedControls());
        host_.UpdateNow();
    }
}

void MainWindowPages::ShowColorPage() {
    const bool leavingAdvanced = state_.CurrentPage == kAdvancedPage;
    state_.CurrentPage = kColorPage;
    // The preview decides whether a thread still runs, in one step with the thread's own
    // decision to end: a look at the mark from here could miss a thread just ending.
    IfPresent(features_.preview, &PreviewController::StartPreviewThread);
    if (leavingAdvanced)
        LeaveAdvancedPage();
    host_.Repaint();
}

AdvancedPageControls MainWindowPages::AdvancedControls() const {
    return {repeatCountEdit_.data(), macroNameEdit_.data(), macroList_.data(), eventList_.data()};
}

bool MainWindowPages::Act(int32_t hover, std::span<const RegionAction> table, QPoint point) {
    for (const RegionAction& row : table) {
        if (hover >= row.first && hover <= row.last) {
            row.act(*this, Hit{hover - row.first, point});
            return true;
        }
    }
    return false;
}

void MainWindowPages::ClickMainPage(QPoint point) {
    using namespace region::main;
    using P = MainWindowPages;
    using Exchange = ProfileExchangeController;
    static constexpr RegionAction kActions[] = {
        {kAdvancedTab, [](P& p, Hit) { p.ShowAdvancedPage(); }},
        {kColorTab, [](P& p, Hit) { p.ShowColorPage(); }},
        {kImportProfile, [](P& p, Hit) { IfPresent(p.features_.profileExchange, &Exchange::ImportProfile); }},
        {kExportProfile, [](P& p, Hit) { IfPresent(p.features_.profileExchange, &Exchange::ExportProfile); }},
        {kSave, [](P& p, Hit) { p.SaveProfile(); }},
        {kFirstButtonBox, kLastButtonBox, [](P& p, Hit hit) { p.OpenFunctionMenu(hit.offset); }},
        {kFirstWheelStatus, kLastWheelStatus, [](P& p, Hit hit) { p.model_.settings.wheelStatus = hit.offset; }},
        {kFirstDpiEnabled, kLastDpiEnabled, [](P& p, Hit hit) { ToggleDpiEnabled(p.model_.settings, hit.offset); }},
        {kFirstDpiLevel, kLastDpiLevel, [](P& p, Hit hit) { SelectDpiLevel(p.model_.settings, hit.offset); }},
        {kFirstDpiCell, kLastDpiCell,
         [](P& p, Hit hit) {
             const auto level = static_cast<size_t>(hit.offset / kDpiCellsPerLevel);
             p.model_.settings.dpiStep[level] = static_cast<uint8_t>(hit.offset % kDpiCellsPerLevel);
             p.host_.Repaint();
         }},
    };
    // Any click on the main page closes an open function menu, then acts as usual.
    if (state_.MenuOpen) {
        IfPresent(features_.functionMenus, &FunctionMenuController::CloseFunctionMenu);
        state_.MenuOpen = false;
    }
    if (!Act(state_.MainHover, kActions, point) && state_.MainHover == region::kNone)
        StartDrag(point);
}

void MainWindowPages::ClickAdvancedPage(QPoint point) {
    using namespace region::advanced;
    using P = MainWindowPages;
    using Editor = MacroEditorController;
    static constexpr RegionAction kTabs[] = {
        {region::main::kMainTab, [](P& p, Hit) { p.ShowMainPage(); }},
        {region::main::kColorTab, [](P& p, Hit) { p.ShowColorPage(); }},
    };
    static constexpr RegionAction kActions[] = {
        {kImportMacros, [](P& p, Hit) { IfPresent(p.features_.macroEditor, &Editor::ImportMacros); }},
        {kExportMacros, [](P& p, Hit) { IfPresent(p.features_.macroEditor, &Editor::ExportMacros); }},
        {kAddMacro, [](P& p, Hit) { IfPresent(p.features_.macroEditor, &Editor::AddMacro); }},
        {kDeleteMacro, [](P& p, Hit) { IfPresent(p.features_.macroEditor, &Editor::DeleteMacro); }},
        {kRecord, [](P& p, Hit) { IfPresent(p.features_.recording, &RecordingController::ToggleRecording); }},
        {kStoreRepeatCount, [](P& p, Hit) { IfPresent(p.features_.macroEditor, &Editor::StoreRepeatCount); }},
        {kRepeat, [](P& p, Hit) { IfPresent(p.features_.macroEditor, &Editor::ToggleRepeat); }},
        {kHoldMode, [](P& p, Hit) { ToggleHoldMode(p.model_.settings); }},
        {kFirstPointerSpeed, kLastPointerSpeed,
         [](P& p, Hit hit) { p.model_.settings.pointerSpeed = static_cast<uint8_t>(hit.offset); }},
        {kFirstWheelSpeed, kLastWheelSpeed,
         [](P& p, Hit hit) { p.model_.settings.wheelSpeed = static_cast<uint8_t>(hit.offset); }},
        {kFireTimeSlider, [](P& p, Hit hit) { p.SetFireTimeFromSlider(hit.point); }},
        {kFireTimeUp,
         [](P& p, Hit) {
             StepFireTimeUp(p.model_.settings);
             p.host_.Repaint();
         }},
        {kFireTimeDown,
         [](P& p, Hit) {
             StepFireTimeDown(p.model_.settings);
             p.host_.Repaint();
         }},
    };
    if (Act(state_.MainHover, kTabs, point) || Act(state_.AdvancedHover, kActions, point))
        return;
    if (state_.AdvancedHover == region::kNone && state_.MainHover == region::kNone)
        StartDrag(point);
}

void MainWindowPages::ClickColorPage(QPoint point) {
    using namespace region::color;
    using P = MainWindowPages;
    static constexpr RegionAction kTabs[] = {
        {region::main::kMainTab, [](P& p, Hit) { p.ShowMainPage(); }},
        {region::main::kAdvancedTab, [](P& p, Hit) { p.ShowAdvancedPage(); }},
    };
    // The preview follows the applied mode, not this one.
    static constexpr RegionAction kActions[] = {
        {kFirstMode, kLastMode, [](P& p, Hit hit) { p.model_.settings.ledStatus = static_cast<uint8_t>(hit.offset); }},
    };
    if (Act(state_.MainHover, kTabs, point) || Act(state_.ColorHover, kActions, point))
        return;
    if (state_.ColorHover == region::kNone && state_.MainHover == region::kNone)
        StartDrag(point);
}

void MainWindowPages::SaveProfile() {
    host_.ProfileSaved(orv::SaveProfile(model_.configPath, model_.currentProfile, model_.settings));
    host_.Repaint();
}

void MainWindowPages::OpenFunctionMenu(int button) {
    FunctionMenuController* menus = features_.functionMenus;
    if (!menus)
        return;
    const int32_t box = region::main::ButtonBox(button);
    state_.MenuButton = box;
    const SkinRegion& r = model_.skin.MainRegions[static_cast<size_t>(box)];
    const QRect onScreen(host_.WindowTopLeft() + QPoint(r.x, r.y), QSize(r.width, r.height));
    state_.MenuAnchor = onScreen.bottomLeft() + QPoint(0, 1);
    if (NeedsLeftButtonWarning(model_.settings, button) && menus->ShowLeftButtonWarning(onScreen) == kWarningCancelled)
        return;
    if (menus->OpenFunctionMenu(button, onScreen))
        state_.MenuOpen = true;
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
    state_.MainHover = region::kNone;
    FallBackToAppliedProfile(model_.configPath, model_.language, model_.settings);
    host_.HideToTray();
    host_.Repaint();
}

// Nothing is sent to the mouse: the profile reaches it with the next apply. A profile that
// cannot be read leaves the window on the one it shows, so that its settings are never saved
// as the other's.
void MainWindowPages::SelectProfile(int32_t profile) {
    ProfileSettings loaded = model_.settings;
    if (LoadProfile(model_.configPath, profile, false, model_.language, loaded) == ProfileFound::Unreadable) {
        host_.ConfigUnreadable();
        return;
    }
    model_.currentProfile = profile;
    model_.settings = loaded;
    host_.Repaint();
}

// A delay being typed is kept, as a click elsewhere in the page would keep it; the controls
// going with the page would otherwise take it with them.
void MainWindowPages::LeaveAdvancedPage() {
    IfPresent(features_.recording, &RecordingController::StopRecording);
    if (eventList_)
        eventList_->EndEdit(true);
    DestroyAdvancedControls();
}

bool MainWindowPages::MacroEditsSettled() {
    IfPresent(features_.recording, &RecordingController::StopRecording);
    return features_.macroEditor == nullptr || features_.macroEditor->SettleUnsavedEdits();
}

void MainWindowPages::CreateAdvancedControls() {
    // Entering again re-creates them at the current layout (a language switch may move them).
    DestroyAdvancedControls();
    const auto& rects = model_.skin.ControlRects;
    const QFont& font = TextFont();
    repeatCountEdit_ = new QLineEdit(&window_);
    StyleEdit(*repeatCountEdit_);
    StyleControl(*repeatCountEdit_, font, ControlRect(rects[kRepeatCountEditRect]), kRepeatCountEditId,
                 "RepeatCountEdit");
    macroNameEdit_ = new QLineEdit(&window_);
    StyleEdit(*macroNameEdit_);
    StyleControl(*macroNameEdit_, font, ControlRect(rects[kMacroNameEditRect]), kMacroNameEditId, "MacroNameEdit");
    macroList_ = new QListWidget(&window_);
    StyleList(*macroList_);
    StyleControl(*macroList_, font, ControlRect(rects[kMacroListRect]), kMacroListId, "MacroList");
    eventList_ = new CEditableListBox(&window_);
    StyleList(*eventList_);
    eventList_->setItemDelegate(new MarkedTextDelegate(eventList_));
    StyleControl(*eventList_, font, ControlRect(rects[kEventListRect]), kEventListId, "EventList");
}

void MainWindowPages::DestroyAdvancedControls() {
    delete repeatCountEdit_.data();
    delete macroNameEdit_.data();
    delete macroList_.data();
    delete eventList_.data();
}

}  // namespace orv
