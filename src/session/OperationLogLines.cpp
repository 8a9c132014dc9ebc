#include "OperationLogLines.h"

#include "core/EncodStr.h"

void TOperationLogLines::Add(const QString& text, bool red) {
    recent_.push_back({text, red});
    if (qsizetype(recent_.size()) <= 2 * keep_)
        return;
    // Half of what is kept goes at once, so that the cost per line stays the same.
    QStringList lines;
    while (qsizetype(recent_.size()) > keep_) {
        if (recent_.front().red)
            redShed_.push_back(shed_ + lines.size());
        lines.append(recent_.front().text);
        recent_.pop_front();
    }
    const QByteArray bytes = JoinLinesForFile(lines);
    spool_.Append(bytes.constData(), bytes.size());
    shed_ += lines.size();
}
