#pragma once

#include <QToolButton>

// A tool button with a menu beside its own click (LD1, ST, PS1): a click does the button's
// command, the arrow opens the menu of the channels. Assistive technology is offered both:
// "press" does the click and "show menu" opens the menu (the toolkit's own interface for such a
// button offers only the menu, so that a screen reader could not press it).
class TSplitToolButton : public QToolButton {
    Q_OBJECT
public:
    explicit TSplitToolButton(QWidget* parent = nullptr);
};
