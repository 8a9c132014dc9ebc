#include "ControllerJournal.h"

#include "Connection.h"
#include "MachineStop.h"
#include "ReadingBack.h"
#include "SendReport.h"
#include "Sending.h"
#include "core/ProgramPaths.h"
#include "core/Settings.h"
#include "core/SettingsView.h"
#include "journal/JournalRecord.h"
#include "protocol/ReplyHandler.h"

#include <QJsonArray>

namespace {

// Each coordinate's block of a list (LD n ... ED) with its lines' fingerprint.
// `from`: the place of the first line in the file's list (lines are named by their place there).
QJsonArray Blocks(const QStringList& lines, int from) {
    QJsonArray blocks;
    int start = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const QString code = lines[i].trimmed().left(2).toUpper();
        if (code == "LD")
            start = i;
        if (code != "ED" || start < 0)
            continue;
        const QStringList block = lines.mid(start, i - start + 1);
        blocks.append(QJsonObject{{"channel", block.first().trimmed().mid(2).toInt()},
                                  {"from", from + start + 1},
                                  {"lines", int(block.size())},
                                  {"fingerprint", Fingerprint(block)}});
        start = -1;
    }
    return blocks;
}

} // namespace

TControllerJournal::TControllerJournal(const TProgramPaths& paths, const ISettingsView& settings,
                                       const TParts& parts)
    : QObject(nullptr), settings_(settings), sending_(parts.sending), files_(paths.DataFile("journal")) {
    connect(&parts.line, &TConnection::Opened, this, [this](const QString& device) {
        device_ = device;
        Record("opened", 0, {{"device", device}});
    });
    connect(&parts.line, &TConnection::Closing, this, [this](const QString& device) {
        Record("closed", 0, {{"device", device}});
        device_.clear();
    });
    connect(&parts.line, &TConnection::Losing, this, [this] { Record("lost", 0, {{"device", device_}}); });
    connect(&parts.sending, &TSending::Started, this, [this] {
        const QStringList& lines = sending_.Lines();
        const int from = sending_.Origin().from;
        Record("write", 0,
               {{"lines", int(lines.size())},
                {"file", sending_.Origin().file},
                {"from", from + 1},
                {"fingerprint", Fingerprint(lines)},
                {"blocks", Blocks(lines, from)}});
    });
    connect(&parts.sending, &TSending::Ended, this, &TControllerJournal::Written);
    connect(&parts.running, &TRunningChannels::Went, this, &TControllerJournal::Went);
    connect(&parts.replies, &TReplyHandler::ChannelReported, this,
            [this](int channel, TReplyHandler::Report report, const QString& token) {
                if (report == TReplyHandler::Report::ExecutionError)
                    Record("error", channel, {{"code", token}});
            });
    connect(&parts.stop, &TMachineStop::StopAllAsked, this, [this] { Record("stop-key"); });
    connect(&parts.reading, &TReadingBack::Compared, this,
            [this](int channel, const TReadingBack::TVerdict& v) {
                QJsonObject fields{{"verdict", v.comparison.same ? "match" : "differs"},
                                   {"lines", v.comparison.count}};
                if (!v.comparison.same)
                    fields.insert("line", v.comparison.firstDifference + 1);
                Record("verify", channel, fields);
            });
}

bool TControllerJournal::Record(const QString& kind, int channel, const QJsonObject& fields) {
    if (!writing_ || !settings_.Settings().KeepJournal)
        return true;
    const bool written = files_.Append({QDateTime::currentDateTime(), who_, kind, channel, fields});
    if (!written && !failing_)
        emit Failed(files_.LastError());
    failing_ = !written;
    return written;
}

QString TControllerJournal::OutcomeOf(const TSendReport& report) {
    using End = TSendReport::End;
    switch (report.end) {
    case End::Completed:
        return "completed";
    case End::Stopped:
    case End::StoppedByOperator:
        return "stopped";
    default:
        return "error";
    }
}

void TControllerJournal::Written(const TSendReport& report) {
    static const char* const kCodes[] = {"",           "no-answer",           "command-error",
                                         "data-error", "communication-error", "port-closed",
                                         "stopped",    "stopped-by-operator", "line-lost"};
    const TSendOrigin& origin = sending_.Origin();
    QJsonObject fields{{"outcome", OutcomeOf(report)}, {"lines", report.count},
                       {"sent", report.sent},          {"file", origin.file},
                       {"from", origin.from + 1},      {"fingerprint", Fingerprint(sending_.Lines())}};
    if (report.end != TSendReport::End::Completed) {
        fields.insert("line",
                      origin.from + report.index + 1); // the first line not answered, in the file's list
        fields.insert("text", report.line);
        fields.insert("code", kCodes[int(report.end)]);
    }
    Record("write-end", 0, fields);
}

void TControllerJournal::Went(int channel, TRunningChannels::Run from, TRunningChannels::Run to,
                              TRunningChannels::Cause cause) {
    using Run = TRunningChannels::Run;
    using Cause = TRunningChannels::Cause;
    if (cause == Cause::ByHand)
        return; // what the operator says a coordinate does is no event of the controller's
    QString kind;
    if (to == Run::Running)
        kind = from == Run::Paused && cause == Cause::Heard ? "resume" : "start";
    else if (to == Run::Paused)
        kind = "pause";
    else if (to == Run::Idle)
        kind = cause == Cause::Stopped ? "stop" : "complete";
    if (!kind.isEmpty())
        Record(kind, channel);
}
