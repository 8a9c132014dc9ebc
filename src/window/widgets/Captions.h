#pragma once

#include <QString>

class QWidget;

// Sets the caption of the control named `objectName` inside `window` (or of the window itself
// when the name is the window's own): a button's or label's text, a group's title, a radio
// group's item, a menu's or action's text, a panel's caption, or a grid's header cell `item`.
// Returns false when no such control exists.
bool SetControlCaption(QWidget* window, const QString& objectName, int item, const QString& text);

// The same control's caption as the operator sees it, for tests and checks.
QString ControlCaption(QWidget* window, const QString& objectName, int item);
