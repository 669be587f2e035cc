#pragma once
#include <QPoint>
#include <QRegion>

namespace orv {

// What the pages and the features need of the native window that shows them. They hold the
// rules (which region does what); the window owns the native window and the tray.
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
    // Ends the utility as the tray menu's Exit Driver does, without asking.
    virtual void ExitDriver() = 0;
    // The window's top-left corner on the screen, where the function menus find their boxes.
    virtual QPoint WindowTopLeft() const = 0;
};

}  // namespace orv
