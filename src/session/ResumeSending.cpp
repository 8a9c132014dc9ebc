#include "ResumeSending.h"

#include "ProgramEditor.h"
#include "controller/Sending.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"

TResumeSending::TResumeSending(TProgramEditor& editor, TSending& sending, const TLang& lang)
    : QObject(nullptr), editor_(editor), sending_(sending), lang_(lang) {
    connect(&sending_, &TSending::Started, this, [this] {
        if (!ours_) {
            whole_ = sending_.Lines();
            base_ = 0;
        }
        ours_ = false;
    });
    connect(&sending_, &TSending::Ended, this, &TResumeSending::Ended);
    connect(&editor_, &TProgramEditor::OperatorChanged, this, &TResumeSending::ResumableChanged);
}

void TResumeSending::Ended(const TSendReport& report) {
    if (sending_.SendingKind() != TSending::Kind::WholeList)
        return;
    if (report.end == TSendReport::End::Completed) {
        stopped_.clear();
        firstUnanswered_ = -1;
    } else {
        stopped_ = whole_;
        firstUnanswered_ = base_ + report.index;
    }
    emit ResumableChanged();
}

std::optional<TResumePoint> TResumeSending::Resumable() const {
    if (firstUnanswered_ < 0 || stopped_ != editor_.List().Lines())
        return std::nullopt;
    const TResumePoint point = ResumePointOf(stopped_, firstUnanswered_);
    if (point.count == 0)
        return std::nullopt;
    return point;
}

TResumePoint TResumeSending::FromRow(int row) const {
    return ResumePointOf(editor_.List().Lines(), row);
}

QString TResumeSending::Question(const TResumePoint& point, int asked) const {
    QStringList channels;
    for (int n : point.channels)
        channels << QString::number(n);
    QString text = lang_.ExtraText(Ext::ResumeQuestion)
                       .arg(point.from + 1)
                       .arg(point.from + point.count)
                       .arg(point.count)
                       .arg(channels.isEmpty() ? lang_.ExtraText(Ext::NoCoordinates) : channels.join(", "));
    if (point.blockStart && asked != point.from) {
        const QStringList lines = editor_.List().Lines();
        const QString ld = lines.value(point.from).trimmed();
        text = lang_.ExtraText(Ext::ResumeFromBlock).arg(asked + 1).arg(ld.mid(2)).arg(point.from + 1) +
               "\n\n" + text;
    }
    return text;
}

bool TResumeSending::Send(const TResumePoint& point, const QString& file) {
    const QStringList lines = editor_.List().Lines();
    if (sending_.IsSending() || point.count <= 0 || point.from + point.count > lines.size())
        return false;
    whole_ = lines;
    base_ = point.from;
    ours_ = true;
    if (sending_.Send(lines.mid(point.from), TSending::Kind::WholeList, {file, point.from}) ==
        TSending::Start::Started)
        return true;
    ours_ = false;
    return false;
}
