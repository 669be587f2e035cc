#pragma once
#include <cstdint>

#include <QDialog>
#include <QRect>

#include "ui/FunctionMenuContext.h"

namespace orv {

// What the warning's exec() gives: the user confirmed (Return or the confirming button), or
// cancelled (Escape, the cancelling button, or closing it).
inline constexpr int kWarningConfirmed = 1;
inline constexpr int kWarningCancelled = 2;

// The left-button warning: a caption-less modal popup shaped from its mask, with the message and
// the confirming and cancelling buttons of the skin's warning layout, all drawn from pictures.
// exec() gives kWarningConfirmed (the confirming button, Return) or kWarningCancelled (the
// cancelling button, Escape, closing it).
class WarningDlg : public QDialog {
public:
    // Shapes the popup and places it below the box (screen coordinates), or above it where the
    // screen has no room below.
    WarningDlg(const FunctionMenuContext& context, QRect box, QWidget* parent);

    // False when the mask cannot be read: the popup would have no size to show.
    bool IsShaped() const { return shaped_; }
    // 1 over the confirming button, 2 over the cancelling one, 255 elsewhere.
    int32_t WarningHover() const { return hover_; }

    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void TrackHover(QPoint point);

    FunctionMenuContext context_;
    bool shaped_ = false;
    int32_t hover_ = 255;
};

}  // namespace orv
