#include "ProgramDocument.h"

#include <QFileInfo>

void TProgramDocument::SetSaved(const QString& file, const TText& text) {
    lastFile_ = file;
    lastSaved_ = text;
    if (!kept_)
        file_ = file;
}

void TProgramDocument::OperatorChanged(const TText& list) {
    kept_.reset();
    if (file_.isEmpty() && !lastFile_.isEmpty() && list == lastSaved_)
        file_ = lastFile_;
}

void TProgramDocument::Detach() {
    kept_.reset();
    file_.clear();
}

void TProgramDocument::ProgramReplaces(const TText& list) {
    if (!kept_)
        kept_ = list;
    file_.clear();
}

QString TProgramDocument::ShownName() const {
    return file_.isEmpty() ? QString() : QFileInfo(file_).fileName();
}

bool TProgramDocument::Unsaved(const TText& list) const {
    const TText work = Work(list);
    if (!file_.isEmpty())
        return !(work == lastSaved_);
    // A list of no file is work once it holds anything the last file does not.
    return !work.lines.isEmpty() && (lastFile_.isEmpty() || !(work == lastSaved_));
}

QStringList TProgramDocument::WithRecent(QStringList recent, const QString& file) {
    recent.removeAll(file);
    recent.prepend(file);
    while (recent.size() > 5)
        recent.removeLast();
    return recent;
}
