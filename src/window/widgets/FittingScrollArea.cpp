#include "FittingScrollArea.h"

#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>

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

void TFittingScrollArea::FitToScreen(QMainWindow* window) {
    auto* area = static_cast<TFittingScrollArea*>(window->centralWidget());
    area->widget()->layout()->activate();
    const QScreen* screen = window->screen();
    if (!screen)
        return;
    const QSize frame =
        window->isVisible() ? window->frameGeometry().size() - window->geometry().size() : QSize(0, 0);
    const QSize room = screen->availableGeometry().size() - frame;
    area->SetRoom(room - QSize(0, window->menuBar()->sizeHint().height()));
    area->updateGeometry(); // the content's minimum may have changed just now
    if (window->width() > room.width() || window->height() > room.height())
        window->resize(window->size().boundedTo(room));
}

void TFittingScrollArea::Resize(QMainWindow* window, int width, int height) {
    FitToScreen(window); // the minimum of the new layout first: it bounds the resize
    window->resize(width, height);
    FitToScreen(window);
}

void TFittingScrollArea::LayOutNow(QMainWindow* window) {
    window->layout()->activate();
    // The scroll area lays its content out at its next resize event, which a window not shown
    // yet has not had.
    QWidget* content = static_cast<QScrollArea*>(window->centralWidget())->widget();
    content->resize(window->centralWidget()->size().expandedTo(content->minimumSizeHint()));
    content->layout()->setGeometry(content->rect());
}
