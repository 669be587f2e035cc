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
#include "ui/ShapeFromMask.h"

namespace orv {

namespace {

QRect ControlRect(const SkinRect& r)
{
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void StyleControl(QWidget& control, const QFont& font, const QRect& rect, int id, const char* name)
{
    QPalette palette = control.palette();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Window, QPalette::AlternateBase}) {
        palette.setColor(role, Qt::black);
    }
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText}) {
        palette.setColor(role, Qt::white);
    }
    control.setPalette(palette);
    control.setAutoFillBackground(true);
    control.setFont(font);
    control.setGeometry(rect);
    control.setObjectName(QString::fromLatin1(name));
    control.setProperty("controlId", id);
    control.show();
}

// Where a window system still shows the client area of a minimised window, it shows the
// program's icon rather than a squeezed page.
void DrawMinimisedIcon(QPainter& painter, const QWidget& window)
{
    const QRect client = window.rect();
    painter.fillRect(client, window.palette().color(QPalette::Window));
    const int extent = window.style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, &window);
    const QRect icon((client.width() - extent + 1) / 2, (client.height() - extent + 1) / 2, extent, extent);
    window.windowIcon().paint(&painter, icon);
}

}  // namespace

MainWindowPages::MainWindowPages(PageModel& model, PageState& state, WindowHost& host, QWidget& window)
    : model_(model), state_(state), host_(host), window_(window), fonts_(CreateSkinFonts())
{
}

MainWindowPages::~MainWindowPages()
{
    DestroyAdvancedControls();
}

bool MainWindowPages::ShapeWindow()
{
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

const QFont& MainWindowPages::TextFont() const
{
    return fonts_.ForLanguage(model_.language);
}

void MainWindowPages::PaintMainWindow(QPainter& painter)
{
    if (state_.CloseMenuRequest) {
        state_.CloseMenuRequest = false;
        if (features_.functionMenus)
            features_.functionMenus->CloseFunctionMenu();
    }
    if (window_.isMinimized()) {
        DrawMinimisedIcon(painter, window_);
        return;
    }
    painter.drawImage(QPoint(0, 0), ComposeFrame());
}

QImage MainWindowPages::ComposeFrame()
{
    return orv::ComposeFrame(model_, state_, pictures_, fonts_, skinSize_);
}

void MainWindowPages::OnMouseMove(QPoint point)
{
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

void MainWindowPages::OnLeftButtonDown(QPoint point)
{
    // A press can arrive without a move to its point (a window shown under a still cursor).
    OnMouseMove(point);
    if (state_.MainHover != region::kNone || state_.ColorHover != region::kNone || state_.AdvancedHover != region::kNone) {
        state_.ButtonHeld = true;
        host_.Repaint();
    }
    switch (state_.CurrentPage) {
    case kMainPage: ClickMainPage(point); break;
    case kAdvancedPage: ClickAdvancedPage(point); break;
    default: ClickColorPage(point); break;
    }
}

void MainWindowPages::ClickMainPage(QPoint point)
{
    if (state_.MenuOpen) {
        if (features_.functionMenus)
            features_.functionMenus->CloseFunctionMenu();
        state_.MenuOpen = false;
    }
    ProfileSettings& s = model_.settings;
    const int32_t m = state_.MainHover;
    if (m == 10) {
        ShowAdvancedPage();
    } else if (m == 11) {
        ShowColorPage();
    } else if (m == 14) {
        if (features_.profileExchange)
            features_.profileExchange->ImportProfile();
    } else if (m == 15) {
        if (features_.profileExchange)
            features_.profileExchange->ExportProfile();
    } else if (m == 0) {
        SaveProfile(model_.configPath, model_.currentProfile, s);
        host_.Repaint();
    } else if (m >= 25 && m <= 30) {
        OpenFunctionMenu(m);
    } else if (m == 41 || m == 42) {
        s.wheelStatus = m - 41;
    } else if (m >= 46 && m <= 49) {
        ToggleDpiEnabled(s, m - 46);
    } else if (m >= 54 && m <= 57) {
        SelectDpiLevel(s, m - 54);
    } else if (m >= 66 && m <= 113) {
        s.dpiStep[static_cast<size_t>((m - 66) / 12)] = static_cast<uint8_t>((m - 66) % 12);
        host_.Repaint();
    } else if (m == region::kNone) {
        StartDrag(point);
    }
}

void MainWindowPages::ClickAdvancedPage(QPoint point)
{
    ProfileSettings& s = model_.settings;
    const int32_t m = state_.MainHover;
    const int32_t a = state_.AdvancedHover;
    if (m == 9) {
        ShowMainPage();
    } else if (m == 11) {
        ShowColorPage();
    } else if (a == 0) {
        if (features_.macroEditor)
            features_.macroEditor->ImportMacros();
    } else if (a == 1) {
        if (features_.macroEditor)
            features_.macroEditor->ExportMacros();
    } else if (a == 2) {
        if (features_.macroEditor)
            features_.macroEditor->AddMacro();
    } else if (a == 3) {
        if (features_.macroEditor)
            features_.macroEditor->DeleteMacro();
    } else if (a == 4) {
        if (features_.recording)
            features_.recording->ToggleRecording();
    } else if (a == 5) {
        if (features_.macroEditor)
            features_.macroEditor->StoreRepeatCount();
    } else if (a == 6) {
        if (features_.macroEditor)
            features_.macroEditor->ToggleRepeat();
    } else if (a == 7) {
        ToggleHoldMode(s);
    } else if (a >= 8 && a <= 17) {
        s.pointerSpeed = static_cast<uint8_t>(a - 8);
    } else if (a >= 18 && a <= 27) {
        s.wheelSpeed = static_cast<uint8_t>(a - 18);
    } else if (a == 30) {
        const SkinRegion& slider = model_.skin.AdvancedRegions[30];
        s.fireTime = FireTimeAtSliderPoint(point.x(), slider.x, slider.width);
        host_.Repaint();
    } else if (a == 31) {
        StepFireTimeUp(s);
        host_.Repaint();
    } else if (a == 32) {
        StepFireTimeDown(s);
        host_.Repaint();
    } else if (a == region::kNone && m == region::kNone) {
        StartDrag(point);
    }
}

void MainWindowPages::ClickColorPage(QPoint point)
{
    const int32_t m = state_.MainHover;
    const int32_t c = state_.ColorHover;
    if (m == 9) {
        ShowMainPage();
    } else if (m == 10) {
        ShowAdvancedPage();
    } else if (c >= 0 && c <= 3) {
        model_.settings.ledStatus = static_cast<uint8_t>(c);
    } else if (c == region::kNone && m == region::kNone) {
        StartDrag(point);
    }
}

void MainWindowPages::StartDrag(QPoint point)
{
    // The window system keeps the release of a drag, so a press that also hit another page's
    // region must not leave the next hovered region drawn pressed.
    state_.ButtonHeld = false;
    host_.StartDrag(point);
}

void MainWindowPages::OnLeftButtonUp(QPoint point)
{
    // The release decides: the region under the mouse now, wherever the press was.
    OnMouseMove(point);
    state_.ButtonHeld = false;
    host_.Repaint();
    const int32_t m = state_.MainHover;
    if (m == 2) {
        HideToTray();
    } else if (m == 3) {
        host_.ApplyProfile();
    } else if (m >= 4 && m <= 8) {
        model_.currentProfile = m - 3;
        LoadProfile(model_.configPath, model_.currentProfile, false, model_.language, model_.settings);
        host_.Repaint();
    } else if (m == 12) {
        state_.MainHover = region::kNone;
        host_.Minimise();
    } else if (m == 13) {
        state_.MainHover = region::kNone;
        host_.CloseToTray();
    } else if (m == 16) {
        if (features_.profileExchange)
            features_.profileExchange->RestoreDefaults();
    } else if (m == 17) {
        if (features_.language)
            features_.language->SwitchToChinese();
    } else if (m == 18) {
        if (features_.language)
            features_.language->SwitchToEnglish();
    }
}

void MainWindowPages::HideToTray()
{
    state_.MainHover = region::kNone;
    FallBackToAppliedProfile(model_.configPath, model_.language, model_.settings);
    host_.HideToTray();
    host_.Repaint();
}

void MainWindowPages::OpenFunctionMenu(int box)
{
    FunctionMenuController* menus = features_.functionMenus;
    if (!menus)
        return;
    state_.MenuButton = box;
    const SkinRegion& r = model_.skin.MainRegions[static_cast<size_t>(box)];
    state_.MenuAnchor = host_.WindowTopLeft() + QPoint(r.x, r.y + r.height);

    const int button = box - 25;
    if (NeedsLeftButtonWarning(model_.settings, button) &&
        menus->ShowLeftButtonWarning(state_.MenuAnchor) == kWarningCancelled)
        return;
    if (menus->OpenFunctionMenu(button, state_.MenuAnchor))
        state_.MenuOpen = true;
}

void MainWindowPages::ShowMainPage()
{
    const bool leavingAdvanced = state_.CurrentPage == kAdvancedPage;
    state_.CurrentPage = kMainPage;
    if (leavingAdvanced)
        LeaveAdvancedPage();
    host_.Repaint();
}

void MainWindowPages::ShowAdvancedPage()
{
    state_.CurrentPage = kAdvancedPage;
    host_.RepaintRegion(advancedRepaintRegion_);
    CreateAdvancedControls();
    host_.UpdateNow();
    if (features_.macroEditor) {
        features_.macroEditor->RefreshMacroList(AdvancedControls());
        host_.UpdateNow();
    }
}

void MainWindowPages::ShowColorPage()
{
    const bool leavingAdvanced = state_.CurrentPage == kAdvancedPage;
    state_.CurrentPage = kColorPage;
    if (features_.preview && !model_.PreviewThreadRunning) {
        model_.PreviewThreadRunning = true;
        features_.preview->StartPreviewThread();
    }
    if (leavingAdvanced)
        LeaveAdvancedPage();
    host_.Repaint();
}

void MainWindowPages::CreateAdvancedControls()
{
    // Entering again re-creates them at the current layout (a language switch may move them).
    DestroyAdvancedControls();
    const auto& rects = model_.skin.ControlRects;
    const QFont& font = TextFont();
    repeatCountEdit_ = new QLineEdit(&window_);
    StyleControl(*repeatCountEdit_, font, ControlRect(rects[kRepeatCountEditRect]), kRepeatCountEditId,
                 "RepeatCountEdit");
    macroNameEdit_ = new QLineEdit(&window_);
    StyleControl(*macroNameEdit_, font, ControlRect(rects[kMacroNameEditRect]), kMacroNameEditId, "MacroNameEdit");
    macroList_ = new QListWidget(&window_);
    StyleControl(*macroList_, font, ControlRect(rects[kMacroListRect]), kMacroListId, "MacroList");
    eventList_ = new QListWidget(&window_);
    StyleControl(*eventList_, font, ControlRect(rects[kEventListRect]), kEventListId, "EventList");
}

AdvancedPageControls MainWindowPages::AdvancedControls() const
{
    return {repeatCountEdit_.data(), macroNameEdit_.data(), macroList_.data(), eventList_.data()};
}

void MainWindowPages::LeaveAdvancedPage()
{
    if (features_.recording)
        features_.recording->StopRecording();
    DestroyAdvancedControls();
}

void MainWindowPages::DestroyAdvancedControls()
{
    delete repeatCountEdit_.data();
    delete macroNameEdit_.data();
    delete macroList_.data();
    delete eventList_.data();
}

}  // namespace orv
