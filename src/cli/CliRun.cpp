#include "CliRun.h"

#include "CliJournal.h"
#include "CliPreview.h"
#include "core/AppError.h"
#include "core/Settings.h"
#include "core/ShownText.h"
#include "editor/AddCommand.h"
#include "editor/CommandList.h"
#include "editor/OpenRecording.h"
#include "editor/ProgramFiles.h"
#include "editor/ResumePoint.h"
#include "lang/BuiltInTexts.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "preview/PreviewReport.h"
#include "preview/ProgramPreview.h"
#include "preview/SendQuestions.h"
#include "serial/SerialDevices.h"
#include "session/OperatorSettings.h"
#include "session/ProgramEditor.h"
#include "session/Session.h"
#include "session/UserButtons.h"
#include "session/controller/Connection.h"
#include "session/controller/Controller.h"
#include "session/controller/ControllerJournal.h"
#include "session/controller/ReadingBack.h"
#include "startup/ProgramLocation.h"
#include "startup/TerminationWatch.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <iterator>

namespace {

using End = TSendReport::End;

// A sending's end as a stable word for scripts, in the order of TSendReport::End.
QString EndWord(End end) {
    static const char* const words[] = {
        "completed",   "no-answer", "wrong-command", "wrong-data", "communication-error",
        "port-closed", "stopped",   "stopped",       "line-lost"};
    static_assert(std::size(words) == size_t(End::LineLost) + 1);
    return words[size_t(end)];
}

} // namespace

TCliRun::TCliRun(TCliOptions options) : options_(std::move(options)), out_(options_.json) {
    out_.SetOnClosed([this] { Terminate(); });
    if (options_.outputClosed)
        out_.SetFailure(EBADF);
}

TCliRun::~TCliRun() = default;

void TCliRun::AddLogLine(const QString& text, bool red) {
    // What the window does about something (its "?" button, its "Open Port") is no advice for a
    // script: such lines are left out.
    for (const int advice : {Ext::StatesLastKnown, Ext::NetworkReopen}) {
        QStringList pieces = Text(advice).split(QRegularExpression("%\\d"));
        for (QString& piece : pieces)
            piece = QRegularExpression::escape(piece);
        if (QRegularExpression("^" + pieces.join(".*") + "$").match(text).hasMatch())
            return;
    }
    // An error is said once, on the error output; JSON keeps every line on its own stream.
    if (red && !options_.json)
        out_.Error(text);
    else
        out_.Event("log", {{"text", text}, {"red", red}}, text);
}

void TCliRun::AddRecordingLine(const QString&) {
    // The lines a recording stored are told by their answers already.
}

int TCliRun::Run() {
    const int status = RunCommand();
    // What a command printed is part of what it did: output that could not be written fails it
    // (a sending stopped by a reader that went away stays a stop).
    out_.Flush();
    const bool sends = options_.command == TCliOptions::Command::Send ||
                       options_.command == TCliOptions::Command::SingleLines ||
                       options_.command == TCliOptions::Command::RunButton;
    if (!out_.Failure().isEmpty() || (out_.Closed() && !sends)) {
        const QString why =
            out_.Failure().isEmpty() ? QString::fromLocal8Bit(std::strerror(EPIPE)) : out_.Failure();
        out_.Error(Text(Ext::OutputNotWritten).arg(why));
        return FileFailed;
    }
    return status;
}

QString TCliRun::Text(int id) const {
    return session_ ? session_->Lang().ExtraText(id) : BuiltIn::ExtraTexts().value(id);
}

int TCliRun::RunCommand() {
    using Command = TCliOptions::Command;
    if (options_.command == Command::Ports)
        return Ports();
    // The program folder as the program chooses it; kvtctl makes none.
    if (!options_.folder.isEmpty() && !QFileInfo(options_.folder).isDir()) {
        out_.Error(QString("The folder %1 given by --folder is not there.").arg(options_.folder));
        return FileFailed;
    }
    const QString appDir = QCoreApplication::applicationDirPath();
    const auto choice = ProgramLocation::Choose(ProgramLocation::Gather(options_.folder, appDir));
    // Without a program folder (a rig where the window program never ran) the settings are the
    // defaults and the words the built-in English ones; nothing is made.
    const bool folderThere = QFileInfo(choice.folder).isDir();
    session_ = std::make_unique<TSession>(choice.folder, *this);
    session_->SetReadOnly(true); // nothing of the folder is written: the window program's own
    // but its journal, which both programs append to; a folder that is not there gets none.
    session_->Controller().Journal().SetWho("kvtctl");
    session_->Controller().Journal().SetWriting(folderThere);
    if (options_.command == Command::Journal) {
        QString why;
        if (!CliJournal::Print(out_, session_->Controller().Journal().Files(), options_.since,
                               options_.channel, why)) {
            out_.Error(why);
            return BadArgument;
        }
        return Done;
    }
    for (const QString& problem : session_->Options().TakeLanguageProblems()) {
        if (folderThere)
            out_.Error(problem);
    }
    // A file is read before the port is touched: a file that can't be read costs no port.
    if (options_.command == Command::Send || options_.command == Command::Verify ||
        options_.command == Command::Preview) {
        if (options_.inputClosed && options_.arguments.first() == "-") {
            out_.Error(Text(Ext::StandardInputClosed));
            return FileFailed;
        }
        file_ = TCliFile::Read(options_.arguments.first(), options_.plain,
                               options_.command != Command::Preview, session_->Lang());
        if (!file_.refusal.isEmpty()) {
            out_.Error(file_.refusal);
            return FileFailed;
        }
    }
    if (options_.command == Command::Preview) {
        // With --from-line, the part a send from that line would send.
        if (const int refused = ChooseSendStart(); refused != Done)
            return refused;
        return PrintPreview(out_, file_.lines.mid(sendFrom_), PreviewTravel(), session_->Lang()) ? Refused
                                                                                                 : Done;
    }
    if (options_.command == Command::Send) {
        if (const int refused = ChooseSendStart(); refused != Done)
            return refused;
        if (const int refused = RefuseUnasked(file_.lines.mid(sendFrom_)); refused != Done)
            return refused;
    }
    QStringList buttonLines; // run-button: checked before the port is touched
    if (options_.command == Command::RunButton) {
        const TUserButtons& buttons = session_->UserButtons();
        if (!buttons.Damage().isEmpty())
            out_.Error(buttons.Damage());
        const int index = buttons.IndexOf(options_.arguments.first());
        if (index < 0 && !buttons.Damage().isEmpty())
            return FileFailed; // the file is what is wrong, as said
        if (index < 0) {
            out_.Error(Text(Ext::UserButtonNotFound).arg(Shown(options_.arguments.first())));
            return Refused;
        }
        if (const QString why = buttons.Check({buttons.Buttons()[index]}); !why.isEmpty()) {
            out_.Error(why);
            return Refused;
        }
        buttonLines = buttons.Buttons()[index].Commands();
    }
    // Ctrl+C and SIGTERM are watched from here on (reading standard input, they end the call).
    watch_ = std::make_unique<TTerminationWatch>();
    connect(watch_.get(), &TTerminationWatch::Requested, this, &TCliRun::Terminate);
    // The window's time before each log line is the window's: a script's output has its own
    // (--json's "time").
    TSettings settings = session_->Options().Settings();
    settings.LogTimes = false;
    if (options_.replyTimeMs)
        settings.ReplyTime = *options_.replyTimeMs;
    session_->Options().Apply(settings);
    if (const int failed = OpenPort(); failed != Done)
        return failed;

    int status = BadArgument;
    switch (options_.command) {
    case Command::Send:
        status = Send(file_.lines.mid(sendFrom_));
        break;
    case Command::SingleLines:
        status = SingleLines();
        break;
    case Command::Read:
        status = ReadBack(nullptr);
        break;
    case Command::RunButton:
        session_->Controller().Journal().Record("button", 0, {{"name", options_.arguments.first()}});
        status = Send(buttonLines);
        break;
    case Command::Verify:
        status = ReadBack(&file_.lines);
        break;
    case Command::Wait:
        status = Wait();
        break;
    default:
        break;
    }
    // The device hung up or was removed: the log said so; the port is gone.
    return portLost_ ? PortFailed : status;
}

int TCliRun::RefuseUnasked(const QStringList& lines) {
    const TSettings& settings = session_->Options().Settings();
    if (!options_.beyondTravel) {
        // Where the window asks before it writes such a program, a script is refused.
        for (const Preview::TFinding& f : Preview::PreviewList(lines, settings.Travel).findings) {
            if (f.kind != Preview::TFinding::LeavesTravel)
                continue;
            out_.Error(TPreviewReport::FindingText(f, session_->Lang(),
                                                   SendQuestions::Units(settings, session_->Lang()),
                                                   settings.Travel) +
                       " Nothing was sent; --beyond-travel sends it all the same.");
            return Refused;
        }
    }
    // A list that would leave the controller recording is refused, where the window asks.
    const auto open = options_.openRecording ? std::nullopt : OpenRecordingAtEnd(lines);
    if (open) {
        out_.Error(QString("Line %1 (%2) begins the program of coordinate %3 and no ED follows it: the "
                           "controller would stay in program recording mode. Nothing was sent; "
                           "--open-recording sends it all the same.")
                       .arg(open->line + 1)
                       .arg(Shown(lines[open->line]))
                       .arg(open->channel));
        return Refused;
    }
    return Done;
}

TTravelLimits TCliRun::PreviewTravel() const {
    TTravelLimits travel = session_->Options().Settings().Travel;
    if (options_.minimum || options_.maximum) {
        const auto steps = [](std::optional<double> v, qint64 otherwise) {
            return v ? qint64(std::llround(*v)) : otherwise;
        };
        for (int n = 1; n <= 3; ++n)
            travel[size_t(n)] = {true, steps(options_.minimum, -Preview::Unbounded),
                                 steps(options_.maximum, Preview::Unbounded)};
    }
    return travel;
}

int TCliRun::OpenPort() {
    TConnection& connection = session_->Controller().Connection();
    if (!options_.device.isEmpty())
        connection.Choice().UseDevice(options_.device);
    else if (options_.port != 0)
        connection.Choice().UsePortForThisStart(options_.port);
    TLineChoice line = connection.LineSettings();
    line.baudIndex = options_.baudIndex.value_or(line.baudIndex);
    line.dataBitsIndex = options_.dataBitsIndex.value_or(line.dataBitsIndex);
    line.parity = options_.parity.value_or(line.parity);
    line.stopBits = options_.stopBits.value_or(line.stopBits);
    connection.SetLineSettings(line);
    if (!connection.Open())
        return PortFailed; // the log said why, once
    // A lost device ends whatever is under way: nothing more can be sent or answered.
    connect(&connection, &TConnection::Lost, this, [this] {
        portLost_ = true;
        emit Abandon();
        loop_.quit();
    });
    connect(&session_->Controller().Sending(), &TSending::LineAnswered, this, &TCliRun::LineAnswered);
    connect(&session_->Controller().Sending(), &TSending::ChannelReported, this, &TCliRun::ChannelReported);
    return Done;
}

int TCliRun::Ports() {
    const QStringList devices = SerialDevices::List();
    if (devices.isEmpty())
        out_.Event("device", {}, "(no serial devices found)");
    for (const QString& device : devices) {
        const SerialDevices::TDeviceState state = SerialDevices::Inspect(device);
        const QString access = !state.exists      ? "missing"
                               : state.accessible ? "may be opened"
                                                  : "not for this user (the group dialout)";
        out_.Event("device", {{"text", device}, {"accessible", state.accessible}},
                   QString("%1  %2").arg(device, access));
    }
    return Done;
}

TSendReport TCliRun::SendToEnd(const QStringList& lines) {
    TSendReport report;
    QEventLoop loop;
    TSending& sending = session_->Controller().Sending();
    // The end is told as it comes: before a loss of the line that ended it is.
    const auto ended = connect(&sending, &TSending::Ended, &loop, [&](const TSendReport& r) {
        report = r;
        TellEnd(r, lines);
        loop.quit();
    });
    connect(this, &TCliRun::Abandon, &loop, &QEventLoop::quit);
    QTimer progress;
    connect(&progress, &QTimer::timeout, this, [&] {
        if (const auto p = sending.Progress())
            out_.Progress(p->line, p->count);
    });
    const bool ofFile = options_.command == TCliOptions::Command::Send && options_.arguments.value(0) != "-";
    sending.Send(lines, TSending::Kind::WholeList,
                 {ofFile ? QFileInfo(options_.arguments.first()).absoluteFilePath() : QString(), sendFrom_});
    if (lines.size() > 1)
        progress.start(200);
    loop.exec();
    disconnect(ended);
    return report;
}

int TCliRun::ChooseSendStart() {
    int asked = options_.fromLine - 1;
    if (options_.resume) {
        QString why;
        const QString file = QFileInfo(options_.arguments.first()).absoluteFilePath();
        const auto stopped =
            CliJournal::StoppedLine(session_->Controller().Journal().Files(), file, file_.lines, why);
        if (!stopped) {
            out_.Error(why);
            return Refused;
        }
        asked = *stopped;
    }
    if (asked < 0)
        return Done;
    const TResumePoint point = ResumePointOf(file_.lines, asked);
    if (point.count == 0) {
        out_.Error(QString("Line %1 is beyond the list (%2 lines).").arg(asked + 1).arg(file_.lines.size()));
        return options_.resume ? Refused : BadArgument;
    }
    sendFrom_ = point.from;
    QStringList channels;
    for (int n : point.channels)
        channels << QString::number(n);
    out_.Event(
        "from",
        {{"line", point.from + 1},
         {"asked", asked + 1},
         {"count", point.count},
         {"channels", channels.join(',')}},
        point.blockStart && asked != point.from
            ? QString("Line %1 lies inside the program that begins at line %2 (%3), which is written whole: "
                      "sending lines %2 to %4.")
                  .arg(asked + 1)
                  .arg(point.from + 1)
                  .arg(file_.lines.value(point.from))
                  .arg(point.from + point.count)
            : QString("Sending lines %1 to %2.").arg(point.from + 1).arg(point.from + point.count));
    return Done;
}

int TCliRun::Send(const QStringList& lines) {
    const TSendReport report = SendToEnd(lines); // its end told as it came
    if (portLost_)
        return PortFailed;
    if (report.end == End::Completed)
        return Done;
    return stopRequested_ || report.end == End::StoppedByOperator ? Stopped : Refused;
}

void TCliRun::TellEnd(const TSendReport& report, const QStringList& lines) {
    // A list's end is in the operation log already, in the program's words; a single line's
    // outcome is its answer and the log lines that follow it.
    const int at = sendFrom_ + (report.end == End::Completed ? report.count : report.index + 1);
    // Where the list ended, in the list and (blank lines skipped) in its file.
    const int fileLine = report.end == End::Completed ? 0 : file_.FileLine(sendFrom_ + report.index);
    const bool elsewhereInFile = !file_.fileLineNumbers.isEmpty() && fileLine != 0 && fileLine != at;
    // A recording that what went out left open and that nothing could end (the line gone).
    const bool gone = report.end == End::LineLost || report.end == End::PortClosed;
    const int reached = report.end == End::Completed    ? report.count
                        : report.end == End::PortClosed ? report.index
                                                        : report.index + 1;
    const TOpenRecording open = report.end == End::Completed || gone
                                    ? OpenRecordingAtEnd(lines.mid(0, reached)).value_or(TOpenRecording{})
                                    : TOpenRecording{};
    QStringList readable;
    if (elsewhereInFile)
        readable << QString("(line %1 of the list is line %2 of %3)")
                        .arg(at)
                        .arg(fileLine)
                        .arg(options_.arguments.value(0));
    if (open.channel != 0)
        readable
            << session_->Lang().ExtraText(Ext::SendingLeftRecording).arg(open.channel).arg(open.line + 1);
    out_.Event("end",
               {{"outcome", EndWord(report.end)},
                {"line", at},
                {"fileLine", fileLine != 0 ? QVariant(fileLine) : QVariant()},
                {"command", report.line},
                {"sent", report.sent},
                {"count", report.count},
                {"recording", open.channel != 0 ? QVariant(open.channel) : QVariant()},
                {"text", SendSummary(report, session_->Lang())}},
               readable.join('\n'));
}

int TCliRun::SingleLines() {
    for (const QString& line : options_.arguments) {
        if (!IsCommandLine(line)) {
            out_.Error(QString("\"%1\" is no command of the controller.").arg(Shown(line)));
            return BadArgument;
        }
        const int status = Send({line});
        if (status != Done || portLost_)
            return status;
        if (stopRequested_)
            return Stopped;
    }
    return Done;
}

int TCliRun::Wait() {
    waitChannel_ = options_.arguments.first().toInt();
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &loop_, [this] {
        out_.Event("end", {{"outcome", "timeout"}},
                   QString("no report of coordinate %1 in time").arg(waitChannel_));
        waitStatus_ = TimedOut;
        loop_.quit();
    });
    if (options_.start) {
        const int status = Send({"ST" + QString::number(waitChannel_)});
        if (status != Done || portLost_)
            return status;
    }
    if (waitStatus_ >= 0) // reported already, with the start's own answer
        return waitStatus_;
    if (options_.timeoutS)
        timeout.start(int(*options_.timeoutS * 1000));
    if (!portLost_)
        loop_.exec();
    return stopRequested_ ? Stopped : waitStatus_;
}

void TCliRun::LineAnswered(int index, const QString& line, const QString& echo, const QString& status) {
    out_.Event("answer", {{"line", index + 1}, {"text", line}, {"answer", echo + status}},
               QString("%1: %2 -> %3").arg(index + 1).arg(line, status));
}

void TCliRun::ChannelReported(int channel, TChannelReport report, const QString& token) {
    if (channel != waitChannel_)
        return;
    QString outcome;
    switch (report) {
    case TChannelReport::Completed:
        outcome = "completed";
        waitStatus_ = Done;
        break;
    case TChannelReport::ExecutionError:
        outcome = "execution-error";
        waitStatus_ = Refused;
        break;
    case TChannelReport::Paused:
        outcome = "paused";
        waitStatus_ = Refused;
        break;
    case TChannelReport::Resumed:
        return;
    }
    // The log line that follows tells it in the program's words.
    out_.Event("report", {{"line", channel}, {"answer", token}, {"outcome", outcome}}, {});
    loop_.quit();
}

void TCliRun::Terminate() {
    stopRequested_ = true;
    if (session_ && session_->Controller().Sending().IsSending())
        session_->Controller().Sending().StopAfterLine(); // after the line being sent has its answer
    else
        loop_.quit();
}
