#pragma once
#include <QPoint>
#include <QRegion>

#include "common/WriteResult.h"

namespace orv {

struct ApplyResult;

// What the pages need of the native window that shows them. The pages hold the rules (which
// region does what); the window owns the native window, the tray, the device and the threads.
class WindowHost {
public:
    virtual ~WindowHost() = default;

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
    // The save control wrote the working settings into config.ini, or could not: a failure is
    // told to the user once, until a save succeeds again.
    virtual void ProfileSaved(WriteResult saved) = 0;
    // A profile went to the mouse other than through ApplyProfile (the factory reset): what did
    // not reach the mouse or config.ini is told as after ApplyProfile.
    virtual void ProfileApplied(const ApplyResult& result) = 0;
    // config.ini could not be read; the user is told once.
    virtual void ConfigUnreadable() = 0;
    // The window's top-left corner on the screen, for the function menu's anchor.
    virtual QPoint WindowTopLeft() const = 0;
};

}  // namespace orv
