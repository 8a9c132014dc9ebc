#include "CommandHistory.h"

#include "TextFileLines.h"
#include "core/EncodStr.h"
#include "core/Folders.h"

#include <QFileInfo>

bool TCommandHistory::Load() {
    entries_.clear();
    const TTextFileLines file = TTextFileLines::Read(fileName_, MaxBytes);
    if (file.fault == TTextFileLines::Fault::Missing)
        return true;
    if (file.fault != TTextFileLines::Fault::None)
        return false;
    for (const QString& line : file.lines)
        Add(line);
    changed_ = false;
    return true;
}

void TCommandHistory::Add(const QString& line) {
    const QString text = line.trimmed().left(MaxLineLength);
    if (text.isEmpty())
        return;
    entries_.removeAll(text);
    entries_.append(text);
    changed_ = true;
    while (entries_.size() > MaxEntries)
        entries_.removeFirst();
}

void TCommandHistory::Write() const {
    Folders::Make(QFileInfo(fileName_).absolutePath());
    SaveLinesToFile(fileName_, entries_, false);
}
