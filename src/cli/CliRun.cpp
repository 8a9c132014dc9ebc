#include "CliRun.h"

#include "core/AppError.h"
#include "core/EncodStr.h"
#include "core/Settings.h"
#include "core/ShownText.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "editor/OpenRecording.h"
#include "editor/PlainTextProgram.h"
#include "editor/ProgramFiles.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "operations/ReadBack.h"
#include "preview/PreviewReport.h"
#include "preview/ProgramPreview.h"
#include "protocol/UnitKVTComands.h"
#include "serial/SerialDevices.h"
#include "session/Session.h"
#include "startup/ProgramLocation.h"
#include "startup/TerminationWatch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <limits>
#include <unistd.h>

namespace {

QString EndWord(TRWThread::End end) {
    switch (end) {
    case TRWThread::End::Completed:
        return "completed";
    case TRWThread::End::NoAnswer:
        return "no-answer";
    case TRWThread::End::CommandError:
        return "wrong-command";
    case TRWThread::End::DataError:
        return "wrong-data";
    case TRWThread::End::CommunicationError:
        return "communication-error";
    case TRWThread::End::PortClosed:
        return "port-closed";
    case TRWThread::End::Stopped:
    case TRWThread::End::StoppedByOperator:
        break;
    }
    return "stopped";
}

} // namespace

TCliRun::TCliRun(TCliOptions options) : options_(std::move(options)), out_(options_.json) {
    out_.SetOnClosed([this] { Terminate(); });
}

TCliRun::~TCliRun() = default;

void TCliRun::AddLogLine(const QString& text, bool red) {
    if (red)
        lastRedLines_ << text;
    out_.Event("log", {{"text", text}, {"red", red}}, text);
}

void TCliRun::AddRecordingLine(const QString&) {
    // The lines a recording stored are told by their answers already.
}

int TCliRun::Run() {
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
    for (const QString& problem : session_->TakeLanguageProblems()) {
        if (folderThere)
            out_.Error(problem);
    }
    // A file is read before the port is touched: a file that can't be read costs no port.
    std::optional<QStringList> fileLines;
    if (options_.command == Command::Send || options_.command == Command::Verify ||
        options_.command == Command::Preview) {
        int status = Done;
        fileLines = FileLines(&status, options_.command != Command::Preview);
        if (!fileLines)
            return status;
    }
    if (options_.command == Command::Preview)
        return Preview(*fileLines);
    if (options_.command == Command::Send && !options_.beyondTravel) {
        // Where the window asks before it writes such a program, a script is refused.
        const Preview::TListPreview preview = session_->PreviewOf(*fileLines);
        for (const Preview::TFinding& f : preview.findings) {
            if (f.kind != Preview::TFinding::LeavesTravel)
                continue;
            out_.Error(TPreviewReport::FindingText(f, session_->Lang(), session_->PreviewUnits(),
                                                   session_->Settings().Travel) +
                       " Nothing was sent; --beyond-travel sends it all the same.");
            return Refused;
        }
    }
    if (options_.command == Command::Send && !options_.openRecording) {
        // A list that would leave the controller recording is refused, where the window asks.
        if (const auto open = OpenRecordingAtEnd(*fileLines)) {
            out_.Error(QString("Line %1 (%2) begins the program of channel %3 and no ED follows it: the "
                               "controller would stay in program recording mode. Nothing was sent; "
                               "--open-recording sends it all the same.")
                           .arg(open->line + 1)
                           .arg(Shown((*fileLines)[open->line]))
                           .arg(open->channel));
            return Refused;
        }
    }
    // Ctrl+C and SIGTERM are watched from here on (reading standard input, they end the call).
    watch_ = std::make_unique<TTerminationWatch>();
    connect(watch_.get(), &TTerminationWatch::Requested, this, &TCliRun::Terminate);

    if (options_.replyTimeMs) {
        TSettings settings = session_->Settings();
        settings.ReplyTime = *options_.replyTimeMs;
        session_->ApplySettings(settings);
    }

    if (!options_.device.isEmpty())
        session_->UseDevice(options_.device);
    else if (options_.port != 0)
        session_->UsePortForThisStart(options_.port);
    TComPort::TLineChoice line = session_->LineSettings();
    line.baudIndex = options_.baudIndex.value_or(line.baudIndex);
    line.dataBitsIndex = options_.dataBitsIndex.value_or(line.dataBitsIndex);
    line.parity = options_.parity.value_or(line.parity);
    line.stopBits = options_.stopBits.value_or(line.stopBits);
    session_->SetLineSettings(line);
    lastRedLines_.clear();
    if (!session_->OpenPort()) {
        out_.Error(lastRedLines_.value(0, "The port could not be opened."));
        return PortFailed;
    }
    // A lost device ends whatever is under way: nothing more can be sent or answered.
    connect(session_.get(), &TSession::PortLost, this, [this] {
        portLost_ = true;
        emit Abandon();
        loop_.quit();
    });
    connect(session_.get(), &TSession::LineAnswered, this, &TCliRun::LineAnswered);
    connect(session_.get(), &TSession::ChannelReported, this, &TCliRun::ChannelReported);

    int status = BadArgument;
    switch (options_.command) {
    case Command::Send:
        status = Send(*fileLines);
        break;
    case Command::SingleLines:
        status = SingleLines();
        break;
    case Command::Read:
        status = ReadBack(nullptr);
        break;
    case Command::Verify:
        status = ReadBack(&*fileLines);
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

namespace {

// Standard input to its end, at most one byte beyond what a program file may hold.
QByteArray ReadStandardInput() {
    QByteArray bytes;
    char block[65536];
    while (bytes.size() <= ProgramFiles::MaxFileSize) {
        const ssize_t n = ::read(STDIN_FILENO, block, sizeof block);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        bytes.append(block, n);
    }
    return bytes;
}

// Whether the file's own bytes, unscrambled, are command lines: plain text given as a pair.
bool LooksLikePlainText(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QStringList lines = SplitFileLines(file.read(4096));
    return !lines.isEmpty() && std::all_of(lines.begin(), lines.end(), [](const QString& line) {
        return line.trimmed().isEmpty() || TKVTCommands::CommandIndex(line.trimmed()) != 0;
    });
}

} // namespace

std::optional<QStringList> TCliRun::FileLines(int* status, bool commandsOnly) {
    const QString name = options_.arguments.first();
    const TLang& lang = session_->Lang();
    const auto refuse = [&](const QString& why) {
        out_.Error(why);
        *status = FileFailed;
        return std::nullopt;
    };
    QStringList lines;
    if (options_.plain) {
        // Read whole before anything is sent: a pipe is read to its end, bounded as a file.
        TFileText text;
        try {
            text = name == "-" ? PlainTextProgram::FromBytes(ReadStandardInput(), "-", lang)
                               : PlainTextProgram::Read(name, lang);
        } catch (const EFileError& error) {
            return refuse(error.Text());
        }
        const QStringList damage = PlainTextProgram::Damage(text, name, lang);
        if (!damage.isEmpty())
            return refuse(damage.join(' ') + " Nothing was sent.");
        for (qsizetype i = 0; i < text.lines.size(); ++i) {
            if (text.lines[i].trimmed().isEmpty())
                continue; // blank lines are no list lines; the others keep their file's number
            lines << text.lines[i].trimmed();
            fileLineNumbers_ << int(i + 1);
        }
    } else {
        if (!QFileInfo::exists(name))
            return refuse(EFileError::CannotOpen(name, lang.ExtraText(Ext::NoSuchFile)).Text());
        try {
            if (!ProgramFiles::CompanionExists(name)) {
                if (LooksLikePlainText(name))
                    return refuse(
                        QString("%1 is plain text, not a program file pair: give --plain to send it.")
                            .arg(name));
                throw EFileError::CannotOpen(ProgramFiles::CompanionName(name),
                                             lang.ExtraText(Ext::NoSuchFile));
            }
            const ProgramFiles::TLoaded loaded = ProgramFiles::Load(name, lang);
            // The window asks before it loads a damaged pair; a script is refused.
            if (!loaded.damage.isEmpty())
                return refuse(loaded.damage.join(' ') + " Nothing was sent.");
            lines = loaded.program.lines;
        } catch (const EFileError& error) {
            return refuse(error.Text());
        }
        // A pair's bytes that decode into no command lines are no program of ours.
        if (commandsOnly && LooksLikePlainText(name))
            return refuse(
                QString("%1 is plain text, not a program file pair: give --plain to send it.").arg(name));
    }
    for (qsizetype i = 0; commandsOnly && i < lines.size(); ++i) {
        if (TKVTCommands::CommandIndex(lines[i]) == 0) {
            out_.Error(QString("%1, line %2: \"%3\" is no command of the controller.")
                           .arg(name)
                           .arg(FileLine(int(i)))
                           .arg(Shown(lines[i])));
            *status = FileFailed;
            return std::nullopt;
        }
    }
    return lines;
}

TRWThread::TReport TCliRun::Transmit(const QStringList& lines) {
    TRWThread::TReport report;
    QEventLoop loop;
    const auto ended = connect(session_.get(), &TSession::TransmissionEnded, &loop,
                               [&](TRWThread::End, const TRWThread::TReport& r) {
                                   report = r;
                                   loop.quit();
                               });
    connect(this, &TCliRun::Abandon, &loop, &QEventLoop::quit);
    QTimer progress;
    connect(&progress, &QTimer::timeout, this, [&] {
        if (const auto p = session_->Progress())
            out_.Progress(p->line, p->count);
    });
    session_->Send(lines);
    if (lines.size() > 1)
        progress.start(200);
    loop.exec();
    disconnect(ended);
    return report;
}

int TCliRun::Send(const QStringList& lines) {
    const TRWThread::TReport report = Transmit(lines);
    if (portLost_)
        return PortFailed; // the log told how far it went
    // A list's end is in the operation log already, in the program's words; a single line's
    // outcome is its answer and the log lines that follow it.
    const int at = report.end == TRWThread::End::Completed ? report.count : report.index + 1;
    // Where the list ended, in the list and (blank lines skipped) in its file.
    const int fileLine = report.end == TRWThread::End::Completed ? 0 : FileLine(report.index);
    const bool elsewhereInFile = !fileLineNumbers_.isEmpty() && fileLine != 0 && fileLine != at;
    out_.Event("end",
               {{"outcome", EndWord(report.end)},
                {"line", at},
                {"fileLine", fileLine != 0 ? QVariant(fileLine) : QVariant()},
                {"command", report.line},
                {"sent", report.sent},
                {"count", report.count},
                {"text", session_->TransmissionSummary(report)}},
               elsewhereInFile ? QString("(line %1 of the list is line %2 of %3)")
                                     .arg(at)
                                     .arg(fileLine)
                                     .arg(options_.arguments.value(0))
                               : QString());
    if (report.end == TRWThread::End::Completed)
        return Done;
    return stopRequested_ || report.end == TRWThread::End::StoppedByOperator ? Stopped : Refused;
}

int TCliRun::FileLine(int index) const {
    return fileLineNumbers_.value(index, index + 1);
}

int TCliRun::SingleLines() {
    for (const QString& line : options_.arguments) {
        if (TKVTCommands::CommandIndex(line) == 0) {
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

int TCliRun::ReadBack(const QStringList* compareWith) {
    if (options_.direct)
        session_->SetDirectControl(true);
    QEventLoop loop;
    TChanReadThread::Outcome outcome = TChanReadThread::Outcome::Stopped;
    QString text;
    connect(session_.get(), &TSession::ReadBackDone, &loop,
            [&](TChanReadThread::Outcome o, const QString& t) {
                outcome = o;
                text = t;
                loop.quit();
            });
    if (session_->StartReadBack() != TSession::ReadBackStart::Started) {
        out_.Error("The controller cannot be read now.");
        return Refused;
    }
    connect(watch_.get(), &TTerminationWatch::Requested, &loop, &QEventLoop::quit);
    connect(this, &TCliRun::Abandon, &loop, &QEventLoop::quit);
    QTimer timeout;
    timeout.setSingleShot(true);
    bool timedOut = false;
    connect(&timeout, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    if (options_.timeoutS)
        timeout.start(int(*options_.timeoutS * 1000));
    loop.exec();
    if (portLost_) {
        session_->CancelReadBack();
        return PortFailed;
    }
    if (timedOut && outcome == TChanReadThread::Outcome::Stopped) {
        session_->CancelReadBack();
        out_.Event("end", {{"outcome", "timeout"}},
                   QString("The read did not end within %1 s.").arg(*options_.timeoutS));
        return Refused;
    }
    if (stopRequested_) {
        session_->CancelReadBack();
        return Stopped;
    }
    if (outcome != TChanReadThread::Outcome::Read)
        return Refused; // "No reply from the controller!" is logged
    TCommandList read("MemoReaded");
    const TReadBack parsed = session_->ParseReadBack({text}, read);
    for (const QString& refusal : parsed.refusals)
        out_.Event("refused", {{"text", refusal}}, refusal);
    if (parsed.wrongCommand)
        out_.Error(session_->Lang().ExtraText(Ext::WrongCommandInReadList));
    if (!text.contains("ED*") || parsed.wrongCommand) {
        // "no correct program" is logged when the end is missing; half a program is neither
        // compared nor saved.
        out_.Event("end", {{"outcome", "no-program"}}, {});
        return Refused;
    }
    // The controller lists its program without the ED that ended it: a whole program is given
    // back with it, so that what is saved or printed can be sent back as it is.
    if (OpenRecordingAtEnd(read.Lines()))
        read.Append("ED", session_->Commands().Entry(TKVTCommands::ED).CaptionText);
    if (compareWith) {
        const TComparison c = CompareWithList(parsed.commands, *compareWith);
        const TLang& lang = session_->Lang();
        const auto shown = [&](const QString& t) {
            return t.isEmpty() ? lang.ExtraText(Ext::NothingThere) : Shown(t);
        };
        if (c.same) {
            out_.Event("verify", {{"outcome", "same"}, {"count", c.count}},
                       lang.ExtraText(Ext::CompareSame).arg(c.count));
            return Done;
        }
        out_.Event(
            "verify",
            {{"outcome", "differs"}, {"line", c.firstDifference + 1}, {"text", c.listed}, {"answer", c.read}},
            lang.ExtraText(Ext::CompareDiffers)
                .arg(c.firstDifference + 1)
                .arg(shown(c.read), shown(c.listed)));
        return Refused;
    }
    if (!options_.output.isEmpty()) {
        try {
            ProgramFiles::Save(options_.output, {read.Lines(), read.Descriptions()}, session_->Lang());
        } catch (const EFileError& error) {
            out_.Error(error.Text());
            return FileFailed;
        }
        out_.Event("saved", {{"text", options_.output}, {"count", read.Count()}},
                   QString("%1 commands saved to %2").arg(read.Count()).arg(options_.output));
    } else {
        for (int i = 0; i < read.Count(); ++i)
            out_.Event("line", {{"line", i + 1}, {"text", read.Line(i)}}, read.Line(i));
    }
    return Done;
}

int TCliRun::Preview(const QStringList& lines) {
    // The travel: --min and --max for every channel, else the program folder's.
    TTravelLimits travel = session_->Settings().Travel;
    if (options_.minimum || options_.maximum) {
        const auto steps = [](std::optional<double> v, qint64 otherwise) {
            return v ? qint64(std::llround(*v)) : otherwise;
        };
        for (int n = 1; n <= 3; ++n)
            travel[size_t(n)] = {true, steps(options_.minimum, -Preview::Unbounded),
                                 steps(options_.maximum, Preview::Unbounded)};
    }
    const Preview::TListPreview preview = Preview::PreviewList(lines, travel);
    const TPreviewUnits units; // steps: a script counts in what the controller counts
    const TLang& lang = session_->Lang();
    const TPreviewReport report(preview, lang, units, travel);
    const QStringList rows = report.RowNames();
    for (size_t i = 0; i < preview.programs.size(); ++i) {
        const Preview::TProgram& p = preview.programs[i];
        const TMotionEffect& m = p.motion;
        const auto lineOrNull = [](int line) { return line >= 0 ? QVariant(line + 1) : QVariant(); };
        QString readable = report.Columns()[i].caption;
        for (qsizetype r = 0; r < rows.size(); ++r)
            readable += QString("\n  %1: %2").arg(rows[r], report.Columns()[i].values[r]);
        out_.Event("program",
                   {{"channel", p.channel},
                    {"first", p.firstLine + 1},
                    {"last", p.lastLine + 1},
                    {"ended", p.ended},
                    {"moves", m.moves},
                    {"forward", m.stepsForward},
                    {"backward", m.stepsBackward},
                    {"net", m.homes ? QVariant() : QVariant(m.end)},
                    {"lowest", m.relativeLow},
                    {"highest", m.relativeHigh},
                    {"homes", m.homes},
                    {"absoluteLowest", m.homes ? QVariant(m.absoluteLow) : QVariant()},
                    {"absoluteHighest", m.homes ? QVariant(m.absoluteHigh) : QVariant()},
                    {"end", m.end},
                    {"pausesMs", m.pausesMs},
                    {"seconds", m.seconds},
                    {"openEndedFrom", lineOrNull(m.openLine)},
                    {"positionUnknownFrom", lineOrNull(m.positionUnknownLine)},
                    {"leavesTravelAt", lineOrNull(p.leavesTravelAt)}},
                   readable);
    }
    if (!preview.directLines.empty()) {
        QVariantList direct;
        for (int line : preview.directLines)
            direct << line + 1;
        out_.Event("direct", {{"lines", direct}}, report.DirectLines());
    }
    for (size_t i = 0; i < preview.findings.size(); ++i) {
        const Preview::TFinding& f = preview.findings[i];
        out_.Event("finding",
                   {{"kind", Preview::FindingKey(f.kind)},
                    {"line", f.line >= 0 ? QVariant(f.line + 1) : QVariant()},
                    {"channel", f.channel},
                    {"text", report.Findings()[i].text}},
                   report.Findings()[i].text);
    }
    const bool leaves = preview.FirstLeavingTravel() != nullptr;
    out_.Event("summary",
               {{"programs", qint64(preview.programs.size())},
                {"findings", qint64(preview.findings.size())},
                {"leavesTravel", leaves}},
               preview.findings.empty() ? lang.ExtraText(Ext::PreviewNoFindings) : QString());
    return leaves ? Refused : Done;
}

int TCliRun::Wait() {
    waitChannel_ = options_.arguments.first().toInt();
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &loop_, [this] {
        out_.Event("end", {{"outcome", "timeout"}},
                   QString("no report of channel %1 in time").arg(waitChannel_));
        waitStatus_ = Refused;
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

void TCliRun::ChannelReported(int channel, TReplyHandler::Report report, const QString& token) {
    if (channel != waitChannel_)
        return;
    QString outcome;
    switch (report) {
    case TReplyHandler::Report::Completed:
        outcome = "completed";
        waitStatus_ = Done;
        break;
    case TReplyHandler::Report::ExecutionError:
        outcome = "execution-error";
        waitStatus_ = Refused;
        break;
    case TReplyHandler::Report::Paused:
        outcome = "paused";
        waitStatus_ = Refused;
        break;
    case TReplyHandler::Report::Resumed:
        return;
    }
    // The log line that follows tells it in the program's words.
    out_.Event("report", {{"line", channel}, {"answer", token}, {"outcome", outcome}}, {});
    loop_.quit();
}

void TCliRun::Terminate() {
    stopRequested_ = true;
    if (session_ && session_->Transmitting())
        session_->StopSending(); // after the line being sent has its answer
    else
        loop_.quit();
}
