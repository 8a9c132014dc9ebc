#pragma once

#include <QStringList>

class QWidget;

// Names of the visible controls of `window` whose caption is cut off: a label or button whose
// text needs more room than the control has, or a group whose title is wider than the group.
// The window must be shown, so that it is laid out.
QStringList ClippedCaptions(QWidget* window);

// Saves a picture of `window` as <folder>/<name>.png when the environment names a folder in
// KVT_SCREENSHOTS (a developer's aid for looking at a window as an operator would).
void SaveScreenshot(QWidget* window, const QString& name);
