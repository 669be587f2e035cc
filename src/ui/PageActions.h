#pragma once
#include <QPoint>
#include <QRegion>

namespace orv {

// What the pages ask of the window that shows them. The pages hold the rules (which region
// does what); the window owns the native window, the tray, the device and the threads.
// Operations completed by later work default to doing nothing, so a click on their control
// only repaints until then.
class PageActions {
public:
    virtual ~PageActions() = default;

    // Invalidate the whole window (background erase is suppressed by the window).
    virtual void Repaint() = 0;
    // Invalidate only this part of the window (client coordinates).
    virtual void RepaintRegion(const QRegion& region) = 0;
    // Paint whatever is invalid now instead of at the next event loop pass.
    virtual void UpdateNow() = 0;
    // Let the window system move the window while the left button is held; the press was at
    // this client point.
    virtual void StartDrag(QPoint clientPoint) = 0;
    virtual void Minimise() = 0;
    // Minimise, hide, and add the tray icon (a second add changes nothing).
    virtual void HideToTray() = 0;
    // What closing the window does: the same as HideToTray, the window is never destroyed.
    virtual void CloseToTray() = 0;
    // Send the working profile to the mouse and the system, then save it.
    virtual void ApplyProfile() = 0;
    // The window's top-left corner on the screen, for the function menu's anchor.
    virtual QPoint WindowTopLeft() const = 0;

    // Function menu of button 0..5, opened with its top-left corner at anchor (screen
    // coordinates). Returns false when no menu opened.
    virtual bool OpenFunctionMenu(int /*button*/, QPoint /*anchor*/) { return false; }
    virtual void CloseFunctionMenu() {}
    // Runs the left-button warning modally at anchor; 2 means the user cancelled.
    virtual int ShowLeftButtonWarning(QPoint /*anchor*/) { return 1; }

    virtual void ImportProfile() {}
    virtual void ExportProfile() {}
    virtual void RestoreDefaults() {}
    virtual void SwitchToChinese() {}
    virtual void SwitchToEnglish() {}

    virtual void ImportMacros() {}
    virtual void ExportMacros() {}
    virtual void AddMacro() {}
    virtual void DeleteMacro() {}
    virtual void ToggleRecording() {}
    virtual void StoreRepeatCount() {}
    virtual void ToggleRepeat() {}
    // Fills the macro list of the advanced page; called each time the page is shown.
    virtual void RefreshMacroList() {}

    // Starts the lighting preview thread. The pages have already marked it running; the
    // thread clears the mark when it ends.
    virtual void StartPreviewThread() {}
};

}  // namespace orv
