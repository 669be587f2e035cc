#include "app/ProgramIcon.h"

#include <QPainter>
#include <QPixmap>

namespace orv {

// Drawn rather than shipped so the tray always has an icon, whatever the skin folder holds.
QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 22, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(200, 20, 20));
        const qreal w = size * 0.6;
        painter.drawRoundedRect(QRectF((size - w) / 2, size * 0.08, w, size * 0.84), w / 2, w / 2);
        painter.setBrush(Qt::black);
        painter.drawRect(QRectF(size / 2.0 - size * 0.04, size * 0.12, size * 0.08, size * 0.3));
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace orv
