#include "Shape.h"

#include <QPainter>

TShape::TShape(const QString& objectName, const QColor& colour, QWidget* parent)
    : QWidget(parent), colour_(colour) {
    setObjectName(objectName);
    setFixedSize(12, 12);
}

void TShape::SetColour(const QColor& colour) {
    if (colour_ == colour)
        return;
    colour_ = colour;
    update();
    emit ColourChanged(colour);
}

void TShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(colour_);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
