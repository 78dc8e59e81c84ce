#include "app/ClosePicture.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace lrf {

QPixmap ClosePicture() {
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    // Door frame and the dark opening.
    painter.setPen(QPen(QColor(90, 60, 30), 1.5));
    painter.setBrush(QColor(40, 40, 40));
    painter.drawRect(QRectF(6.5, 3.5, 15, 25));
    // The door leaf, swung open towards the viewer.
    QPolygonF leaf;
    leaf << QPointF(6.5, 3.5) << QPointF(14.5, 6.5) << QPointF(14.5, 31) << QPointF(6.5, 28.5);
    painter.setBrush(QColor(176, 112, 48));
    painter.drawPolygon(leaf);
    painter.setBrush(QColor(250, 210, 60));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(12.5, 18), 1.2, 1.2);

    // The arrow out of the door.
    QPainterPath arrow;
    arrow.moveTo(15, 14.5);
    arrow.lineTo(24, 14.5);
    arrow.lineTo(24, 10);
    arrow.lineTo(31, 17);
    arrow.lineTo(24, 24);
    arrow.lineTo(24, 19.5);
    arrow.lineTo(15, 19.5);
    arrow.closeSubpath();
    painter.setPen(QPen(QColor(0, 100, 0), 1));
    painter.setBrush(QColor(40, 180, 40));
    painter.drawPath(arrow);
    return picture;
}

} // namespace lrf
