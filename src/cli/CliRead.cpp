// kvtctl's reads: a channel's program (or the buffer's) read back, printed or saved as a pair,
// or compared with a file's programs, as "Load from device" and "Compare" do in the window.
#include "CliRun.h"

#include "core/AppError.h"
#include "editor/CommandList.h"
#include "editor/ProgramFiles.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "operations/ReadBack.h"
#include "session/ProgramEditor.h"
#include "session/Session.h"
#include "session/controller/Controller.h"
#include "session/controller/ReadingBack.h"
#include "startup/TerminationWatch.h"

#include <QEventLoop>
#include <QTimer>

int TCliRun::ReadOne(int channel, TCommandList& read, TReadBack& parsed) {
    TReadingBack& reading = session_->Controller().ReadBack();
    QEventLoop loop;
    TChanReadThread::Outcome outcome = TChanReadThread::Outcome::Stopped;
    QString text;
    connect(&reading, &TReadingBack::Done, &loop, [&](TChanReadThread::Outcome o, const QString& t) {
        outcome = o;
        text = t;
        loop.quit();
    });
    if (reading.Begin(channel) != TReadingBack::Start::Started) {
        out_.Error(channel == 0
                       ? QString("The controller cannot be read now.")
                       : QString("The controller cannot be read now: coordinate %1 is not in standby, or "
                                 "the controller is recording.")
                             .arg(channel));
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
    if (outcome == TChanReadThread::Outcome::Stopped)
        reading.Cancel(); // given up before its end
    if (portLost_)
        return PortFailed;
    if (timedOut && outcome == TChanReadThread::Outcome::Stopped) {
        out_.Event("end", {{"outcome", "timeout"}},
                   QString("The read did not end within %1 s.").arg(*options_.timeoutS));
        return TimedOut;
    }
    if (stopRequested_)
        return Stopped;
    if (outcome != TChanReadThread::Outcome::Read)
        return Refused; // "No reply from the controller!" is logged
    parsed = reading.Parse({text}, read);
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
    return Done;
}

int TCliRun::ReadBack(const QStringList* compareWith) {
    if (options_.direct)
        session_->Editor().SetDirectControl(true);
    TReadingBack& reading = session_->Controller().ReadBack();
    if (compareWith) {
        // Every channel the file writes, each against its own program; the buffer against the
        // file's first program.
        QList<int> channels = options_.direct ? QList<int>{0} : ChannelsWritten(*compareWith);
        if (channels.isEmpty())
            channels = {1};
        int status = Done;
        for (int channel : channels) {
            TCommandList read("MemoReaded");
            TReadBack parsed;
            const int readStatus = ReadOne(channel, read, parsed);
            if (readStatus != Done)
                return readStatus;
            const TReadingBack::TVerdict verdict = reading.Compare(parsed, *compareWith);
            const TComparison& c = verdict.comparison;
            if (c.same) {
                out_.Event("verify", {{"channel", channel}, {"outcome", "same"}, {"count", c.count}},
                           verdict.text);
            } else {
                out_.Event("verify",
                           {{"channel", channel},
                            {"outcome", "differs"},
                            {"line", c.firstDifference + 1},
                            {"text", c.listed},
                            {"answer", c.read}},
                           verdict.text);
                status = Refused;
            }
        }
        return status;
    }
    TCommandList read("MemoReaded");
    TReadBack parsed;
    const int status = ReadOne(options_.direct ? 0 : options_.channel, read, parsed);
    if (status != Done)
        return status;
    // The whole program, with the ED that ended it, so that it can be sent back as it is.
    const TFileTie::TText program = reading.WholeProgram(read, parsed);
    if (!options_.output.isEmpty()) {
        try {
            ProgramFiles::Save(options_.output, {program.lines, program.descriptions}, session_->Lang());
        } catch (const EFileError& error) {
            out_.Error(error.Text());
            return FileFailed;
        }
        const qsizetype count = program.lines.size();
        out_.Event("saved", {{"text", options_.output}, {"count", count}},
                   QString("%1 commands saved to %2").arg(count).arg(options_.output));
    } else {
        // Each line as the controller holds it (steps), and what it means in the operator's units.
        for (qsizetype i = 0; i < program.lines.size(); ++i) {
            const QString description = program.descriptions.value(i);
            out_.Event("line", {{"line", i + 1}, {"text", program.lines[i]}, {"description", description}},
                       QString("%1\t%2").arg(program.lines[i], description));
        }
    }
    return Done;
}
