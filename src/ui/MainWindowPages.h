#pragma once
#include <array>
#include <memory>
#include <span>

#include <QFont>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QSize>

#include "ui/AdvancedPageControls.h"
#include "ui/CEditableListBox.h"
#include "ui/PageFeatures.h"
#include "ui/PageModel.h"
#include "ui/PageState.h"
#include "ui/PictureCache.h"
#include "ui/SkinFonts.h"
#include "ui/WindowHost.h"

class QPainter;
class QWidget;

namespace orv {

// Ids of the advanced page's controls, as other code finds them.
inline constexpr int kRepeatCountEditId = 10004;
inline constexpr int kMacroNameEditId = 10000;
inline constexpr int kMacroListId = 10001;
inline constexpr int kEventListId = 10002;

// The three skinned pages of the main window: drawing, hit-testing, clicks and page switches.
// The window forwards its paint and mouse events here; the advanced page's four controls are
// created as children of that window while the page is shown. Clicks on a feature's controls
// go to that feature (SetFeatures); the window itself is reached through its host.
class MainWindowPages {
public:
    MainWindowPages(PageModel& model, PageState& state, WindowHost& host, QWidget& window);
    ~MainWindowPages();
    MainWindowPages(const MainWindowPages&) = delete;
    MainWindowPages& operator=(const MainWindowPages&) = delete;

    // Reads "main_mask.jpg": gives the window its outline and sets SkinSize and
    // AdvancedRepaintRegion. False when the mask cannot be read; the window is then unchanged.
    bool ShapeWindow();
    // Replaces the features the controls act on; absent ones leave their controls inert.
    void SetFeatures(const PageFeatures& features) { features_ = features; }
    QSize SkinSize() const { return skinSize_; }
    const QRegion& AdvancedRepaintRegion() const { return advancedRepaintRegion_; }

    // The font of every skin text, the controls and the popups, by the current language.
    const QFont& TextFont() const;
    const SkinFonts& Fonts() const { return fonts_; }

    // Profile n chosen and applied as a click on its button and APPLY do.
    void ChooseAndApplyProfile(int32_t profile);

    // Paints one whole frame at (0, 0).
    void PaintMainWindow(QPainter& painter);
    // The frame PaintMainWindow would paint (also used for screenshots).
    QImage ComposeFrame();
    // While the window is hidden nothing is painted: the pages' pictures are let go and decoded
    // again by the next paint.
    void ReleasePictures() { pictures_.Clear(); }
    size_t PicturesHeld() const { return pictures_.Held(); }

    void OnMouseMove(QPoint point);
    void OnLeftButtonDown(QPoint point);
    void OnLeftButtonUp(QPoint point);

    void ShowMainPage();
    void ShowAdvancedPage();
    void ShowColorPage();

    // The advanced page's controls; null while another page is shown.
    QLineEdit* RepeatCountEdit() const { return repeatCountEdit_.data(); }
    QLineEdit* MacroNameEdit() const { return macroNameEdit_.data(); }
    QListWidget* MacroList() const { return macroList_.data(); }
    CEditableListBox* EventList() const { return eventList_.data(); }
    AdvancedPageControls AdvancedControls() const;

private:
    // One row of a click or release table: it acts when the hover index of its table lies in
    // first..last. The action is given the index's place in that range and the client point.
    struct Hit {
        int32_t offset;
        QPoint point;
    };
    struct RegionAction {
        constexpr RegionAction(int32_t region, void (*act)(MainWindowPages&, Hit))
            : first(region), last(region), act(act) {}
        constexpr RegionAction(int32_t first, int32_t last, void (*act)(MainWindowPages&, Hit))
            : first(first), last(last), act(act) {}
        int32_t first;
        int32_t last;
        void (*act)(MainWindowPages& pages, Hit hit);
    };
    // Runs the first row holding the hover index; false when none does.
    bool Act(int32_t hover, std::span<const RegionAction> table, QPoint point);
    // A feature's operation, or nothing while the feature is absent.
    template <typename Feature>
    static void IfPresent(Feature* feature, void (Feature::*operation)()) {
        if (feature)
            (feature->*operation)();
    }

    void ClickMainPage(QPoint point);
    void ClickAdvancedPage(QPoint point);
    void ClickColorPage(QPoint point);
    void SaveProfile();
    void OpenFunctionMenu(int button);
    void SetFireTimeFromSlider(QPoint point);
    void StartDrag(QPoint point);
    void HideToTray();
    void SelectProfile(int32_t profile);
    void CreateAdvancedControls();
    void LeaveAdvancedPage();
    // Before the user macros are reloaded: a recording ends, and edits not yet saved are saved
    // or dropped as the user says. False when the user cancelled.
    bool MacroEditsSettled();
    void DestroyAdvancedControls();

    PageModel& model_;
    PageState& state_;
    WindowHost& host_;
    PageFeatures features_;
    QWidget& window_;
    SkinFonts fonts_;
    PictureCache pictures_;
    QSize skinSize_;
    QRegion advancedRepaintRegion_;
    // Guarded: the window may delete its children before the pages go.
    QPointer<QLineEdit> repeatCountEdit_;
    QPointer<QLineEdit> macroNameEdit_;
    QPointer<QListWidget> macroList_;
    QPointer<CEditableListBox> eventList_;
};

}  // namespace orv
