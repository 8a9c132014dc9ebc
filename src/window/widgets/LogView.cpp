#include "LogView.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

TLogView::TLogView(const QString& objectName, QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(objectName);
    setReadOnly(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void TLogView::AddLine(const QString& text, bool red) {
    AddLines({text}, red);
}

void TLogView::AddLines(const QStringList& lines, bool red) {
    if (lines.isEmpty())
        return;
    QTextCharFormat format;
    format.setForeground(red ? QBrush(Qt::red) : palette().brush(QPalette::Text));
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    for (const QString& text : lines) {
        if (!empty_)
            cursor.insertBlock();
        empty_ = false;
        // A line break inside a text would split one log line into two blocks.
        QString line = text;
        line.replace('\r', ' ').replace('\n', ' ');
        cursor.insertText(line, format);
    }
    cursor.endEditBlock();
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

int TLogView::LineCount() const {
    return empty_ ? 0 : document()->blockCount();
}

QString TLogView::Line(int index) const {
    if (index < 0 || index >= LineCount())
        return {};
    return document()->findBlockByNumber(index).text();
}

bool TLogView::IsRed(int index) const {
    if (index < 0 || index >= LineCount())
        return false;
    const QTextBlock block = document()->findBlockByNumber(index);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().foreground().color() == QColor(Qt::red))
            return true;
    }
    return false;
}

QStringList TLogView::Lines() const {
    QStringList lines;
    for (int i = 0; i < LineCount(); ++i)
        lines.append(Line(i));
    return lines;
}

void TLogView::Clear() {
    clear();
    empty_ = true;
}
