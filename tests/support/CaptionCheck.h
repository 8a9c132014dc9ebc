#pragma once

#include <QStringList>

class QWidget;

// Names of the visible controls of `window` whose caption is cut off: a label or button whose
// text needs more room than the control has, or a group whose title is wider than the group.
// The window must be shown, so that it is laid out.
QStringList ClippedCaptions(QWidget* window);

// Shows `window`, lets it lay itself out, and fails the test naming every clipped caption;
// `name` (the window and the language) labels the failure and the picture saved on request.
void ExpectNoCaptionClipped(QWidget* window, const QString& name);

// Saves a picture of `window` as <folder>/<name>.png when the environment names a folder in
// KVT_SCREENSHOTS (a developer's aid for looking at a window as an operator would).
void SaveScreenshot(QWidget* window, const QString& name);
