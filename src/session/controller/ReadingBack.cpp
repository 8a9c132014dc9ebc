#include "ReadingBack.h"

#include "Connection.h"
#include "core/ChannelState.h"
#include "core/Events.h"
#include "core/OperationLog.h"
#include "core/SettingsView.h"
#include "core/ShownText.h"
#include "editor/AddCommand.h"
#include "editor/CommandList.h"
#include "editor/OpenRecording.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/ReplyHandler.h"
#include "protocol/UnitKVTComands.h"

#include <algorithm>

TReadingBack::TReadingBack(const TControllerBasis& basis, const TKVTCommands& commands,
                           TReplyHandler& replies, TNamedEvent& readEvent, TConnection& connection,
                           IOperationLog& log)
    : QObject(nullptr), basis_(basis), commands_(commands), replies_(replies), connection_(connection),
      log_(log), event_(readEvent) {}

TReadingBack::~TReadingBack() {
    Cancel();
}

TReadingBack::Start TReadingBack::Begin(int channel) {
    if (basis_.state.CommMode())
        return Start::RecordingMode;
    if (basis_.state.State(std::clamp(channel, 1, 3)) != TChannelState::Standby)
        return Start::NotInStandby;
    if (thread_)
        return Start::AlreadyReading;
    channel_ = std::clamp(channel, 0, 3);
    // This read collects, and waits for, its own answer only.
    replies_.BeginReadBack();
    event_.Reset();
    TReplyReader& reader = replies_.Reader();
    thread_ = std::make_unique<TChanReadThread>(
        TChanReadThread::RequestFor(channel_), basis_.settings, event_, connection_,
        [&reader] { return reader.BytesReceived(); },
        TChanReadThread::LongestReadMs(connection_.BaudRate(), int(basis_.settings.ReplyTime())));
    // Emitted on the read thread; taken here, on the main thread.
    connect(thread_.get(), &TChanReadThread::Done, this, &TReadingBack::ThreadDone);
    thread_->Start();
    return Start::Started;
}

void TReadingBack::Cancel() {
    thread_.reset();
    replies_.EndReadBack();
}

void TReadingBack::ThreadDone(TChanReadThread::Outcome outcome) {
    if (outcome == TChanReadThread::Outcome::Stopped)
        return;
    thread_.reset();
    // What came before the end is taken first, then judged: an answer received in the last
    // moments of the reply time, not yet handled, is an answer.
    replies_.HandleReceivedSoFar();
    const QString text = replies_.ReadBackText();
    // Every end of a read ends the collection: a late answer is not taken in.
    replies_.EndReadBack();
    event_.Reset();
    if (outcome == TChanReadThread::Outcome::TimedOut && text.isEmpty()) {
        log_.AddLogLine(basis_.lang.Message(Msg::NoReply), true);
        emit Done(TChanReadThread::Outcome::NoAnswer, {});
        return;
    }
    if (!text.contains("ED*"))
        log_.AddLogLine(basis_.lang.ExtraText(Ext::NoCorrectProgram));
    emit Done(TChanReadThread::Outcome::Read, text);
}

TReadBack TReadingBack::Parse(const QStringList& lines, TCommandList& into) {
    TReadBack read = ::ParseReadBack(lines, commands_, basis_.settings.Settings(), into);
    read.channel = channel_;
    for (const TReadBack::TBeyond& b : read.beyond) {
        const TKVTCommands::TArgumentRule rule = TKVTCommands::ArgumentRule(b.index);
        const QString code = TKVTCommands::Code(b.index);
        read.refusals << (rule.kind == TKVTCommands::TArgumentRule::None
                              ? basis_.lang.ExtraText(Ext::ReadTakesNoArgument)
                                    .arg(b.position)
                                    .arg(Shown(b.command), code)
                              : basis_.lang.ExtraText(Ext::ReadValueBeyondRange)
                                    .arg(b.position)
                                    .arg(Shown(b.command), code)
                                    .arg(rule.low)
                                    .arg(rule.high));
    }
    if (read.endSeen && read.commands.isEmpty() && !read.wrongCommand)
        log_.AddLogLine(basis_.lang.ExtraText(Ext::ReadNoProgram)
                            .arg(Whose(channel_, Ext::ChannelName, Ext::BufferName)));
    if (!read.stoppedAt.isEmpty())
        log_.AddLogLine(
            basis_.lang.ExtraText(Ext::ReadBackStopped).arg(Shown(read.stoppedAt), Shown(read.stopReason)),
            true);
    return read;
}

QString TReadingBack::Whose(int channel, int channelText, int bufferText) const {
    return channel == 0 ? basis_.lang.ExtraText(bufferText) : basis_.lang.ExtraText(channelText).arg(channel);
}

TReadingBack::TVerdict TReadingBack::Compare(const TReadBack& read, const QStringList& listLines) {
    const TComparison c = ::CompareWithList(read.commands, listLines, read.channel);
    const auto shown = [&](const QString& text) {
        return text.isEmpty() ? basis_.lang.ExtraText(Ext::NothingThere) : Shown(text);
    };
    const TVerdict verdict{
        c, c.same ? basis_.lang.ExtraText(Ext::CompareSame)
                        .arg(QString::number(c.count), Whose(read.channel, Ext::ChannelName, Ext::BufferName))
                  : basis_.lang.ExtraText(Ext::CompareDiffers)
                        .arg(QString::number(c.firstDifference + 1), shown(c.read), shown(c.listed),
                             Whose(read.channel, Ext::ChannelOf, Ext::BufferOf))};
    emit Compared(read.channel, verdict);
    return verdict;
}

TFileTie::TText TReadingBack::WholeProgram(const TCommandList& read, const TReadBack& parsed) const {
    TFileTie::TText program{read.Lines(), read.Descriptions()};
    if (parsed.endSeen && OpenRecordingAtEnd(program.lines)) {
        const TStepsCommand ed =
            MakeCommandInSteps(commands_, basis_.settings.Settings(), TKVTCommands::ED, "no");
        program.lines << ed.command->line;
        program.descriptions << ed.command->description;
    }
    return program;
}
