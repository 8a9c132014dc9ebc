#include "SendReport.h"

#include "core/ShownText.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"

namespace {

using End = TSendReport::End;

// The extra text that says why a sending ended before its last line.
int EndReason(End end) {
    switch (end) {
    case End::NoAnswer:
        return Ext::EndNoAnswer;
    case End::CommandError:
        return Ext::EndCommandError;
    case End::DataError:
        return Ext::EndDataError;
    case End::CommunicationError:
        return Ext::EndCommunicationError;
    case End::PortClosed:
        return Ext::EndPortClosed;
    default:
        return Ext::EndStopped;
    }
}

} // namespace

QString SendSummary(const TSendReport& report, const TLang& lang) {
    const QString line = QString::number(report.index + 1), count = QString::number(report.count),
                  sent = QString::number(report.sent);
    // One substitution for all, so that a % in a line is never taken for a placeholder.
    if (report.end == End::Completed)
        return lang.ExtraText(Ext::SendingCompleted).arg(sent);
    if (report.end == End::StoppedByOperator)
        return lang.ExtraText(Ext::SendingStopped).arg(line, count, Shown(report.line), sent);
    return lang.ExtraText(Ext::SendingEnded)
        .arg(line, count, Shown(report.line), sent, lang.ExtraText(EndReason(report.end)));
}
