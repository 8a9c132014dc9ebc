#pragma once

#include <QString>

// A text from a file or from the line, as a message box or the log shows it: at most `length`
// characters, the rest cut off with an ellipsis, so that a line of megabytes never has to be
// laid out (or read) whole.
inline QString Shown(const QString& text, qsizetype length = 80) {
    return text.size() <= length ? text : text.left(length) + QString::fromUtf8("…");
}
