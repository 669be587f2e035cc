#include "ui/skinnedmenus/SkinnedMenuWindow.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/ComposeFrame.h"
#include "ui/DrawingGeometry.h"

namespace orv {

SkinnedMenuWindow::SkinnedMenuWindow(const FunctionMenuContext& context, const SkinnedMenuPictures& pictures,
                                     QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint),
      context_(context),
      pictures_(pictures) {
    // Every paint draws the whole window, so nothing is erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // A menu must not take the activation from the window it belongs to.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
}

QSize SkinnedMenuWindow::MaskSize() const { return context_.Picture(pictures_.mask).size(); }

void SkinnedMenuWindow::SetRows(const MenuGeometry& geometry, int32_t hitRows, const QStringList& texts) {
    geometry_ = geometry;
    hitRows_ = hitRows;
    texts_ = texts;
    setFixedSize(geometry.width, geometry.height);
}

void SkinnedMenuWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), Compose());
}

void SkinnedMenuWindow::mouseMoveEvent(QMouseEvent* event) { TrackHover(event->position().toPoint()); }

void SkinnedMenuWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = true;
    update();
}

// The row is taken where the button comes up: after a press without any move (a touch, a
// synthesised click) the last move may lie elsewhere.
void SkinnedMenuWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = false;
    update();
    TrackHover(event->position().toPoint());
    Released(hover_);
}

void SkinnedMenuWindow::TrackHover(QPoint point) {
    const int32_t row = MenuRowAt(point.x(), point.y(), geometry_.width, geometry_.rowHeight, hitRows_);
    if (row == hover_)
        return;
    hover_ = row;
    update();
    HoverChanged();
}

QImage SkinnedMenuWindow::Compose() const {
    const qreal ratio = devicePixelRatioF();
    QImage canvas = NewCanvas(QSize(geometry_.width, geometry_.height), ratio);
    QPainter painter(&canvas);
    const QImage& normal = context_.Picture(pictures_.normal, ratio);
    if (!normal.isNull())
        painter.drawImage(QPoint(0, 0), normal);
    // A row beyond the picture (the hit-only rows, or none) copies nothing.
    if (hover_ != kNoMenuRow) {
        const QRect strip(0, (hover_ - 1) * geometry_.rowHeight, geometry_.width, geometry_.rowHeight);
        CopyRegion(painter, context_.Picture(pressed_ ? pictures_.down : pictures_.over, ratio), strip);
    }
    painter.setFont(context_.Font());
    painter.setBackgroundMode(Qt::TransparentMode);
    const QFontMetrics metrics = painter.fontMetrics();
    for (int i = 0; i < texts_.size(); ++i) {
        const int32_t row = i + 1;
        const QRect rowRect(0, i * geometry_.rowHeight, geometry_.width, geometry_.rowHeight);
        const QString& text = texts_[i];
        const QPoint origin = CentredTextOrigin(rowRect, QSize(metrics.horizontalAdvance(text), metrics.height()));
        painter.setPen(row == hover_ ? kHoverTextColour : kTextColour);
        painter.drawText(QPoint(origin.x(), origin.y() + metrics.ascent()), text);
    }
    return canvas;
}

}  // namespace orv
