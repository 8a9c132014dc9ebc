#pragma once

#include <QPlainTextEdit>
#include <QStringList>

// The operation log: a read-only list of lines, each in the normal colour or in red.
class TLogView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TLogView(const QString& objectName, QWidget* parent = nullptr);

    void AddLine(const QString& text, bool red);
    // Adds many lines in one step (one layout, one scroll).
    void AddLines(const QStringList& lines, bool red);
    int LineCount() const;
    QString Line(int index) const;
    bool IsRed(int index) const;
    // The lines as plain text, colours dropped.
    QStringList Lines() const;
    // Empties the view (what the session keeps for the log files stays).
    void Clear();

private:
    bool empty_ = true;
};
