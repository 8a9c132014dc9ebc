#include "CommandList.h"

#include "core/ShownText.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"

#include "protocol/UnitKVTComands.h"

#include <algorithm>

TCommandList::TCommandList(const QString& objectName, QObject* parent) : QAbstractTableModel(parent) {
    setObjectName(objectName);
}

void TCommandList::Append(const QString& line, const QString& description) {
    // At the end, the new command takes the place of the trailing empty row, and a new empty
    // row follows; before a command, the rows after it move down.
    const int row = insertAt_ >= 0 ? insertAt_ : Count();
    beginInsertRows({}, row, row);
    lines_.insert(row, line);
    descriptions_.insert(row, description);
    endInsertRows();
    if (insertAt_ >= 0) {
        ++insertAt_;
        Renumber(row);
    }
}

void TCommandList::Clear() {
    SetProgram({}, {});
}

namespace {
// `fresh`, each text equal to the one at its place in `old` taken from `old`: a list loaded
// again, or changed in a few lines, keeps one copy of what did not change (the undo history
// holds both).
QStringList SharedWith(const QStringList& fresh, const QStringList& old) {
    const qsizetype n = std::min(fresh.size(), old.size());
    qsizetype first = 0;
    while (first < n && (fresh[first].constData() == old[first].constData() || fresh[first] != old[first]))
        ++first;
    if (first == n)
        return fresh; // nothing to share, or shared already
    QStringList shared = fresh;
    for (qsizetype i = first; i < n; ++i) {
        if (shared[i].constData() != old[i].constData() && shared[i] == old[i])
            shared[i] = old[i];
    }
    return shared;
}
} // namespace

void TCommandList::SetProgram(const QStringList& lines, const QStringList& descriptions) {
    beginResetModel();
    insertAt_ = -1;
    lines_ = SharedWith(lines, lines_);
    descriptions_ = SharedWith(descriptions.mid(0, lines.size()), descriptions_);
    while (descriptions_.size() < lines_.size())
        descriptions_.append(QString());
    endResetModel();
}

bool TCommandList::ReplaceLines(const QStringList& lines) {
    if (lines.size() != lines_.size())
        return false;
    lines_ = lines;
    if (!lines_.isEmpty())
        emit dataChanged(index(0, LineColumn), index(Count() - 1, LineColumn), {Qt::DisplayRole});
    return true;
}

bool TCommandList::ReplaceDescriptions(const QStringList& descriptions) {
    if (descriptions.size() != descriptions_.size())
        return false;
    descriptions_ = descriptions;
    if (!descriptions_.isEmpty())
        emit dataChanged(index(0, DescriptionColumn), index(Count() - 1, DescriptionColumn),
                         {Qt::DisplayRole});
    return true;
}

void TCommandList::Remove(int index) {
    if (index < 0 || index >= Count())
        return;
    beginRemoveRows({}, index, index);
    lines_.removeAt(index);
    descriptions_.removeAt(index);
    endRemoveRows();
    if (index < insertAt_)
        --insertAt_; // still before the same command
    if (insertAt_ >= Count())
        insertAt_ = -1;
    Renumber(index);
}

void TCommandList::Move(int from, int to) {
    if (from < 0 || to < 0 || from >= Count() || to >= Count() || from == to)
        return;
    // Qt's destination is the row before which the moved row lands, counted before the move.
    beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    lines_.move(from, to);
    descriptions_.move(from, to);
    endMoveRows();
    Renumber(std::min(from, to));
}

void TCommandList::Drag(int from, int to) {
    if (to == Count())
        Remove(from);
    else
        Move(from, to);
}

namespace {
bool Faulty(const QString& line) {
    return line.isEmpty() || TKVTCommands::CommandIndex(line.left(2)) == 0;
}
} // namespace

int TCommandList::FirstFaultyLine() const {
    for (int i = 0; i < Count(); ++i) {
        if (Faulty(lines_[i]))
            return i;
    }
    return -1;
}

int TCommandList::FaultyLineCount() const {
    return int(std::count_if(lines_.begin(), lines_.end(), Faulty));
}

void TCommandList::Renumber(int fromRow) {
    if (fromRow < Count())
        emit dataChanged(index(fromRow, 0), index(Count() - 1, 0), {Qt::DisplayRole});
}

int TCommandList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count() + 1;
}

int TCommandList::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TCommandList::data(const QModelIndex& index, int role) const {
    // The tooltip shows a cell in full where the column is too narrow for it.
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid() || index.row() >= Count())
        return {};
    switch (index.column()) {
    case 0:
        return QString::number(index.row() + 1);
    case LineColumn:
        return lines_[index.row()];
    case DescriptionColumn:
        return descriptions_[index.row()];
    default:
        return QString();
    }
}

QString TCommandList::FaultyWarning(const TLang& lang) const {
    const int faulty = FirstFaultyLine();
    if (faulty < 0)
        return {};
    return lang.Message(Msg::WrongCommandInList) + ' ' +
           lang.ExtraText(Ext::FaultyLines).arg(faulty + 1).arg(Shown(Line(faulty))).arg(FaultyLineCount());
}
