#include "ProgramDocument.h"

#include <QFileInfo>

QString TProgramDocument::ShownName() const {
    return file_.isEmpty() ? QString() : QFileInfo(file_).fileName();
}

QStringList TProgramDocument::WithRecent(QStringList recent, const QString& file) {
    recent.removeAll(file);
    recent.prepend(file);
    while (recent.size() > 5)
        recent.removeLast();
    return recent;
}
