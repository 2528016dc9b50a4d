#include "SetupPages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

QPixmap DrawPicture132() {
    QPixmap picture(33, 33);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    // Three insulated wires sweep across, each ending in bare copper.
    const QColor colours[3] = {QColor(200, 30, 30), QColor(230, 190, 20), QColor(30, 70, 200)};
    for (int i = 0; i < 3; ++i) {
        const qreal y = 7 + i * 9.5;
        QPainterPath path(QPointF(3, y));
        path.cubicTo(QPointF(12, y - 8 + i * 3), QPointF(20, y + 8 - i * 3), QPointF(27, y));
        painter.setPen(QPen(Qt::black, 5, Qt::SolidLine, Qt::RoundCap));
        painter.drawPath(path);
        painter.setPen(QPen(colours[i], 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawPath(path);
        painter.setPen(QPen(QColor(205, 125, 50), 2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(27, y), QPointF(31, y));
    }
    return picture;
}
