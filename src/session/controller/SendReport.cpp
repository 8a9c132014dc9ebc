#include "SendReport.h"

#include <algorithm>

#include "core/LookUp.h"
#include "core/ShownText.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "protocol/UnitKVTComands.h"

namespace {

using End = TSendReport::End;

// The extra text that says why a sending ended before its last line.
int EndReason(End end) {
    static constexpr std::pair<End, int> kReasons[] = {
        {End::NoAnswer, Ext::EndNoAnswer},     {End::CommandError, Ext::EndCommandError},
        {End::DataError, Ext::EndDataError},   {End::CommunicationError, Ext::EndCommunicationError},
        {End::PortClosed, Ext::EndPortClosed}, {End::LineLost, Ext::EndLineLost}};
    return LookUp(kReasons, end, int(Ext::EndStopped));
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

QString ShorterProgramText(const QStringList& lines, const TSendReport& report, const TLang& lang) {
    using End = TSendReport::End;
    // Only where what the controller stored is known: the line at the stop never went (a stop)
    // or was refused (a wrong command or wrong data).
    if (report.end != End::StoppedByOperator && report.end != End::CommandError &&
        report.end != End::DataError)
        return {};
    const qsizetype stop = std::min<qsizetype>(report.index, lines.size());
    qsizetype load = stop - 1;
    while (load >= 0 && TKVTCommands::CommandIndex(lines[load]) != TKVTCommands::LD &&
           TKVTCommands::CommandIndex(lines[load]) != TKVTCommands::ED)
        --load;
    if (load < 0 || TKVTCommands::CommandIndex(lines[load]) != TKVTCommands::LD)
        return {};
    qsizetype end = stop;
    while (end < lines.size() && TKVTCommands::CommandIndex(lines[end]) != TKVTCommands::ED)
        ++end;
    const QString channel = lines[load].mid(2).trimmed().remove('+');
    return lang.ExtraText(Ext::RecordingShorter).arg(channel).arg(stop - load - 1).arg(end - load - 1);
}
