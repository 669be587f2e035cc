#include "ui/WarningDlg.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "skin/Regions.h"
#include "skin/SkinLayout.h"
#include "ui/ComposeFrame.h"
#include "ui/DrawingGeometry.h"
#include "ui/ShapeFromMask.h"

namespace orv {

namespace {

constexpr int32_t kOverConfirm = 1;
constexpr int32_t kOverCancel = 2;
const QColor kWarningTextColour{255, 0, 0};

}  // namespace

WarningDlg::WarningDlg(const FunctionMenuContext& context, QRect box, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint), context_(context) {
    setModal(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    const auto shape = ShapeFromMask(*this, context.model.skinDirectory / "warning_mask.jpg");
    shaped_ = shape && !shape->size.isEmpty();
    if (shaped_)
        setFixedSize(shape->size);
    move(PopupBelowOrAbove(box, size(), ScreenAreaFor(box, parent != nullptr ? *parent : *this)));
}

void WarningDlg::reject() { done(kWarningCancelled); }

void WarningDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const auto& regions = context_.model.skin.WarningRegions;
    const qreal ratio = devicePixelRatioF();
    const QImage& normal = context_.Picture("warning_normal.jpg", ratio);
    if (!normal.isNull())
        painter.drawImage(QPoint(0, 0), normal);
    if (hover_ == kOverConfirm || hover_ == kOverCancel) {
        const int32_t button = hover_ == kOverConfirm ? region::warning::kConfirm : region::warning::kCancel;
        CopyRegion(painter, context_.Picture("warning_over.jpg", ratio),
                   RegionRect(regions[static_cast<size_t>(button)]));
    }
    painter.setFont(context_.Font());
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(kWarningTextColour);
    const QFontMetrics metrics = painter.fontMetrics();
    for (const int32_t index : {region::warning::kConfirm, region::warning::kCancel, region::warning::kMessage}) {
        const SkinRegion& r = regions[static_cast<size_t>(index)];
        const QString text = QString::fromStdString(r.label);
        const QPoint origin =
            CentredTextOrigin(RegionRect(r), QSize(metrics.horizontalAdvance(text), metrics.height()));
        painter.drawText(QPoint(origin.x(), origin.y() + metrics.ascent()), text);
    }
}

void WarningDlg::mouseMoveEvent(QMouseEvent* event) { TrackHover(event->position().toPoint()); }

// The button is taken where the left button comes up, which is where the last move left the
// hover unless the press came without any move (a touch, a synthesised click).
void WarningDlg::mouseReleaseEvent(QMouseEvent* event) {
    QDialog::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    TrackHover(event->position().toPoint());
    if (hover_ == kOverConfirm)
        done(kWarningConfirmed);
    else if (hover_ == kOverCancel)
        done(kWarningCancelled);
}

// Return confirms as a dialog's default button would; Escape reaches reject().
void WarningDlg::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            done(kWarningConfirmed);
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void WarningDlg::TrackHover(QPoint point) {
    const auto& regions = context_.model.skin.WarningRegions;
    int32_t hover = region::kNone;
    if (regions[region::warning::kConfirm].Contains(point.x(), point.y()))
        hover = kOverConfirm;
    else if (regions[region::warning::kCancel].Contains(point.x(), point.y()))
        hover = kOverCancel;
    if (hover == hover_)
        return;
    hover_ = hover;
    update();
}

}  // namespace orv
