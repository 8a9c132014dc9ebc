#pragma once

#include <QAbstractTableModel>
#include <QStringList>

// The command list: one list line per command (a two-letter code and its argument in steps,
// such as MV2000, as it is sent and stored) with the description the operator reads. It exists
// once; the grid StringGridSend shows it and "Send" sends its lines (MemoSend, the
// object's name, is the name of those lines).
//
// As a table it has three columns (the row number, the list line as it is sent, the
// description) and one row per command plus a trailing empty row, onto which a command can be
// dragged to remove it.
// Row numbers follow the rows by themselves; the header texts are the view's.
class TLang;

class TCommandList : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column : int { NumberColumn, LineColumn, DescriptionColumn, ColumnCount };

    explicit TCommandList(const QString& objectName = "MemoSend", QObject* parent = nullptr);

    // --- the commands ---
    int Count() const { return int(lines_.size()); }
    bool IsEmpty() const { return lines_.isEmpty(); }
    const QStringList& Lines() const { return lines_; }
    const QStringList& Descriptions() const { return descriptions_; }
    QString Line(int index) const { return lines_.value(index); }
    QString Description(int index) const { return descriptions_.value(index); }

    // Adds a command at the insertion point (after the commands added there before), or at the
    // end when there is none.
    void Append(const QString& line, const QString& description);
    // Where Append adds: before command `index`, or at the end (-1, or beyond the last). A new
    // list (SetProgram, Clear) adds at the end again.
    void SetInsertPoint(int index) { insertAt_ = index >= 0 && index < Count() ? index : -1; }
    int InsertPoint() const { return insertAt_; }
    void Clear();
    // Replaces the whole list; a description beyond the lines is dropped, a missing one is empty.
    void SetProgram(const QStringList& lines, const QStringList& descriptions = {});
    // Replaces the lines of the commands, which keep their descriptions (same count only).
    bool ReplaceLines(const QStringList& lines);
    // Replaces the descriptions, which the lines keep (same count only).
    bool ReplaceDescriptions(const QStringList& descriptions);
    void Remove(int index);
    // Moves command `from` to position `to`; both are positions among the commands.
    void Move(int from, int to);
    // A row dragged in a grid: moved to position `to`, or removed when `to` is one past the last
    // command (the grid's trailing empty row).
    void Drag(int from, int to);
    // The index of the first line that is empty or whose code is not in the vocabulary; -1 when
    // every line is a command.
    int FirstFaultyLine() const;
    // How many lines are empty or not a command of the vocabulary.
    int FaultyLineCount() const;
    // The one warning a list with such lines gets, however many they are: the first of them and
    // their number, in the words of `lang`; empty when every line is a command.
    QString FaultyWarning(const TLang& lang) const;

    // --- the table the grid shows ---
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    void Renumber(int fromRow);
    QStringList lines_;
    QStringList descriptions_;
    int insertAt_ = -1;
};
