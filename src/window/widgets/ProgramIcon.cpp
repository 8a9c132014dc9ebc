#include "ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap Painted(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0); // drawn on the 64 x 64 grid of the SVG
    const QColor dark("#1b2f42"), amber("#f0a020");
    p.setPen(QPen(dark, 2));
    p.setBrush(QColor("#2f4f6f"));
    p.drawRoundedRect(QRectF(4, 4, 56, 56), 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(dark);
    for (const QPointF hole : {QPointF(12, 12), QPointF(52, 12), QPointF(12, 52), QPointF(52, 52)})
        p.drawEllipse(hole, 3, 3);
    p.setPen(QPen(dark, 2));
    p.setBrush(QColor("#d8dee6"));
    p.drawEllipse(QPointF(32, 30), 17, 17);
    p.setPen(QPen(QColor("#7a8796"), 3, Qt::SolidLine, Qt::RoundCap));
    const QLineF teeth[] = {{32, 15, 32, 18},         {32, 42, 32, 45},         {17, 30, 20, 30},
                            {44, 30, 47, 30},         {21.4, 19.4, 23.5, 21.5}, {42.6, 40.6, 40.5, 38.5},
                            {42.6, 19.4, 40.5, 21.5}, {21.4, 40.6, 23.5, 38.5}};
    p.drawLines(teeth, int(std::size(teeth)));
    p.setPen(QPen(dark, 2));
    p.setBrush(amber);
    p.drawEllipse(QPointF(32, 30), 6, 6);
    p.fillRect(QRectF(30.5, 24, 3, 6), dark);
    QPainterPath steps(QPointF(17, 57));
    for (const QPointF point : {QPointF(24, 57), QPointF(24, 55), QPointF(31, 55), QPointF(31, 53),
                                QPointF(38, 53), QPointF(38, 51), QPointF(46, 51)})
        steps.lineTo(point);
    p.setPen(QPen(amber, 2.5, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(steps);
    return pixmap;
}

} // namespace

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(Painted(size));
    return QIcon::fromTheme("kvt-program", icon);
}
