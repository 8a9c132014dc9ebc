#pragma once

#include <QScrollArea>

class QMainWindow;

// What the main window holds, in a scroll area that asks for its content's minimum as its own
// (so the window is never smaller than its panels need, as without a scroll area) but never for
// more than the screen has room for: on a small screen the window fits it and the content
// scrolls. Its minimum follows the content as captions and panels change.
class TFittingScrollArea : public QScrollArea {
    Q_OBJECT
public:
    explicit TFittingScrollArea(QWidget* parent = nullptr);

    // The most room the content may ask for (the screen's, less the window's menu and frame).
    void SetRoom(const QSize& room);

    // The window this area is the central widget of, and its minimum, within the available
    // screen: on a smaller screen the window may be smaller, the log and the list shrinking
    // first and the rest then scrolling.
    static void FitToScreen(QMainWindow* window);
    // The window made `width` x `height` (what a layout sets), never beyond the screen.
    static void Resize(QMainWindow* window, int width, int height);
    // Lays the window out at once (a window not shown yet does it only when shown).
    static void LayOutNow(QMainWindow* window);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSize room_{QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
};
