#include "FileTie.h"

#include <QFileInfo>

void TFileTie::SetSaved(const QString& file, const TText& text) {
    lastFile_ = file;
    lastSaved_ = text;
    if (!kept_)
        file_ = file;
}

void TFileTie::OperatorChanged(const TText& list) {
    kept_.reset();
    if (file_.isEmpty() && !lastFile_.isEmpty() && list == lastSaved_)
        file_ = lastFile_;
}

void TFileTie::Detach() {
    kept_.reset();
    file_.clear();
}

void TFileTie::ProgramReplaces(const TText& list) {
    if (!kept_)
        kept_ = list;
    file_.clear();
}

QString TFileTie::ShownName() const {
    return file_.isEmpty() ? QString() : QFileInfo(file_).fileName();
}

bool TFileTie::Unsaved(const TText& list) const {
    const TText work = Work(list);
    if (!file_.isEmpty())
        return !(work == lastSaved_);
    // A list of no file is work once it holds anything the last file does not.
    return !work.lines.isEmpty() && (lastFile_.isEmpty() || !(work == lastSaved_));
}
