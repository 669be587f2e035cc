#pragma once
#include <QProxyStyle>

namespace orv {

// The look of the program's pop-up menus over whatever style the desktop uses: every item a
// teal bar with white text, the highlighted one a blue-to-cyan gradient in a one-pixel frame,
// separators a red-and-blue frame, and items sized by their captions (8 pixels per character, 20
// high). Only menu items are drawn differently; the menus keep their keyboard and mouse handling.
class OrvMenuStyle : public QProxyStyle {
public:
    OrvMenuStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
};

}  // namespace orv
