#include "FittingScrollArea.h"

#include <QEvent>

TFittingScrollArea::TFittingScrollArea(QWidget* parent) : QScrollArea(parent) {
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
}

void TFittingScrollArea::SetRoom(const QSize& room) {
    if (room == room_)
        return;
    room_ = room;
    updateGeometry();
}

QSize TFittingScrollArea::minimumSizeHint() const {
    return widget() ? widget()->minimumSizeHint().boundedTo(room_) : QScrollArea::minimumSizeHint();
}

QSize TFittingScrollArea::sizeHint() const {
    return widget() ? widget()->sizeHint().boundedTo(room_) : QScrollArea::sizeHint();
}

bool TFittingScrollArea::eventFilter(QObject* watched, QEvent* event) {
    // The content's layout changed (a caption, a panel shown or hidden): the window asks again.
    if (watched == widget() && event->type() == QEvent::LayoutRequest)
        updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}
