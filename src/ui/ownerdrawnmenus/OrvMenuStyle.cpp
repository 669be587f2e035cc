#include "ui/ownerdrawnmenus/OrvMenuStyle.h"

#include <QPainter>
#include <QStyleOptionMenuItem>

#include "skin/OwnerDrawnMenuLook.h"

namespace orv {

namespace {

// Room at the right of every item beyond its measured width: there the arrow of an item that
// opens a sub-menu goes, and a caption drawn 10 pixels in is never cut off by the menu's edge
// (the eight pixels per character leave too little for short captions such as "Down").
constexpr int kRightRoom = 12;
constexpr int kArrowHalfHeight = 4;

QColor Colour(MenuRgb rgb) { return {rgb.red, rgb.green, rgb.blue}; }

// A caption as the menu hands it over, without the shortcut text the menu appends after a tab.
QString Caption(const QStyleOptionMenuItem& item) { return item.text.section(QLatin1Char('\t'), 0, 0); }

// Top and left edges in one colour, then bottom and right edges in the other over them.
void DrawFrame3d(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    if (r.width() <= 0 || r.height() <= 0)
        return;
    painter.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), topLeft);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
}

void DrawHighlight(QPainter& painter, const QRect& r) {
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    const QRect inner = r.adjusted(1, 1, -1, -1);
    const auto lines = MenuHighlightGradient(inner.height());
    for (size_t k = 0; k < lines.size(); ++k)
        painter.fillRect(QRect(inner.left(), inner.top() + static_cast<int>(k), inner.width(), 1), Colour(lines[k]));
}

void DrawSubMenuArrow(QPainter& painter, const QRect& r) {
    const int x = r.right() - kRightRoom / 2;
    const int y = r.center().y();
    const QPoint arrow[] = {{x - kArrowHalfHeight / 2, y - kArrowHalfHeight},
                            {x + kArrowHalfHeight / 2, y},
                            {x - kArrowHalfHeight / 2, y + kArrowHalfHeight}};
    painter.setPen(Qt::NoPen);
    painter.setBrush(Colour(kMenuTextColour));
    painter.drawPolygon(arrow, 3);
}

void DrawMenuItem(QPainter& painter, const QStyleOptionMenuItem& item) {
    const QRect& r = item.rect;
    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        DrawFrame3d(painter, r.adjusted(kMenuSeparatorIndent, 0, 0, 0), Colour(kMenuSeparatorTopLeft),
                    Colour(kMenuSeparatorBottomRight));
        return;
    }
    if (item.state & QStyle::State_Selected)
        DrawHighlight(painter, r);
    else
        painter.fillRect(r, Colour(kMenuItemColour));
    if (item.menuItemType == QStyleOptionMenuItem::SubMenu)
        DrawSubMenuArrow(painter, r);
    painter.setPen(Colour(kMenuTextColour));
    painter.setFont(item.font);
    painter.drawText(r.adjusted(kMenuTextIndent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     Caption(item));
}

}  // namespace

OrvMenuStyle::OrvMenuStyle() = default;

int OrvMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    switch (metric) {
    case PM_MenuPanelWidth:
    case PM_MenuHMargin:
    case PM_MenuVMargin:
        return 0;  // the items fill the whole menu
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

QSize OrvMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                     const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || item == nullptr)
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    const bool separator = item->menuItemType == QStyleOptionMenuItem::Separator;
    const MenuItemSize measured = MeasureMenuItem(Caption(*item).toStdString(), separator);
    return {measured.width + (separator ? 0 : kRightRoom), measured.height};
}

void OrvMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element == CE_MenuItem && item != nullptr) {
        painter->save();
        DrawMenuItem(*painter, *item);
        painter->restore();
        return;
    }
    if (element == CE_MenuEmptyArea) {
        painter->fillRect(option->rect, Colour(kMenuItemColour));
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void OrvMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const {
    if (element == PE_PanelMenu) {
        painter->fillRect(option->rect, Colour(kMenuItemColour));
        return;
    }
    if (element == PE_FrameMenu)
        return;
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

}  // namespace orv
