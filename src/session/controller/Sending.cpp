#include "Sending.h"

#include "Connection.h"
#include "OwedAnswer.h"
#include "core/ChannelState.h"
#include "core/OperationLog.h"
#include "core/SettingsView.h"
#include "core/ShownText.h"
#include "editor/OpenRecording.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/ReadWriteThread.h"
#include "protocol/ReplyHandler.h"

using End = TSendReport::End;

TSending::TSending(const TControllerBasis& basis, TReplyHandler& replies, TConnection& connection,
                   IOperationLog& log)
    : QObject(nullptr), basis_(basis), replies_(replies), connection_(connection), log_(log) {
    qRegisterMetaType<TSendReport>();
    // A communication error stops what is being sent before the recovery begins.
    connect(&replies_, &TReplyHandler::CommunicationError, this, &TSending::StopNow);
    // The answers of the lines being sent, told as their tokens are acted on.
    connect(&replies_, &TReplyHandler::TokenArrived, this,
            [this](const QString&, quint64 serial) { TellAnswers(serial); });
    connect(&replies_, &TReplyHandler::ChannelReported, this,
            [this](int channel, TReplyHandler::Report report, const QString& token) {
                emit ChannelReported(channel, TChannelReport(int(report)), token);
            });
    // What a line owes is kept for the next session on the device, and waited for here when
    // an earlier one left it.
    connect(&connection_, &TConnection::Closing, this, [this](const QString& device) {
        OwedAnswer::Keep(device, replies_.Reader().Owed(), OwedQuietMs());
    });
    connect(&connection_, &TConnection::Opened, this, [this](const QString& device) {
        OwedAnswer::Restore(device, replies_.Reader().Owed(), OwedQuietMs());
    });
    // A list being sent stops where it is when the device goes: nothing can answer it. Its end
    // (the answers it had, its summary) is told before the loss is.
    connect(&connection_, &TConnection::Losing, this, [this] {
        if (!thread_)
            return;
        const quint64 serial = thread_->Serial();
        thread_->PortLost();
        thread_->StopAndWait();
        ThreadEnded(serial, thread_->FinalReport());
        loggedSerial_ = serial;
    });
}

TSending::~TSending() {
    thread_.reset(); // stopped at once, nothing told any more
}

int TSending::OwedQuietMs() const {
    return int(TRWThread::OwedStatusReplyTimes * basis_.settings.ReplyTime());
}

TSending::Start TSending::Send(const QStringList& lines, Kind kind, const TSendOrigin& origin) {
    if (thread_ && !thread_->Finished())
        return Start::AlreadyRunning;
    // A finished one whose end is still on its way goes first; the new one may well take its
    // memory, and only its serial number tells the two apart.
    thread_.reset();
    thread_ = std::make_unique<TRWThread>(lines, basis_.settings, replies_.Reader(), connection_);
    lines_ = lines;
    origin_ = origin;
    if (kind == Kind::WholeList)
        shorter_.clear(); // a list sent anew may write the channel whole
    // Emitted from the sending thread: handled here on the main thread, queued.
    connect(thread_.get(), &TRWThread::Ended, this,
            [this](quint64 serial, const TSendReport& report) { ThreadEnded(serial, report); });
    if (kind == Kind::DirectCommand)
        directSerial_ = thread_->Serial();
    kind_ = kind;
    elapsed_.start();
    thread_->Start();
    emit Started(int(lines.size()));
    return Start::Started;
}

bool TSending::StopAfterLine() {
    if (!thread_ || thread_->Finished())
        return false;
    thread_->StopAfterCurrentLine();
    return true;
}

void TSending::StopNow() {
    if (!thread_)
        return;
    // A line's answer is taken by the sending on the line's read thread, and may be taken after
    // its token was acted on here: what it took before it stopped is told now, not lost with it.
    thread_->StopAndWait();
    TellAnswers(UINT64_MAX);
    thread_.reset();
}

std::optional<TSending::TProgress> TSending::Progress() const {
    if (!thread_ || thread_->Finished())
        return std::nullopt;
    return TProgress{thread_->CurrentLine(), thread_->LineCount(), elapsed_.elapsed()};
}

bool TSending::RecordingUnderWay() const {
    return basis_.state.AnyRecording();
}

void TSending::EndForClose() {
    closing_ = true; // the recording a stopped list leaves open is ended below, in the close's words
    if (thread_) {
        const quint64 serial = thread_->Serial();
        thread_->StopAndWait();
        ThreadEnded(serial, thread_->FinalReport()); // logged now: no event loop to come
        loggedSerial_ = serial;
    }
    for (int n = 1; n <= TChannelState::ChannelCount; ++n) {
        if (basis_.state.State(n) != TChannelState::Communication)
            continue;
        connection_.WriteText("ED*");
        log_.AddLogLine(basis_.lang.ExtraText(Ext::RecordingEndedOnClose).arg(n));
        break; // one "ED*" ends the controller's communication mode
    }
}

void TSending::EndRecordingLeftOpen(const TSendReport& report, bool wholeList) {
    // A whole list that stops after an accepted LD leaves the controller recording, and its next
    // LD would be refused as an incorrect command. Direct Control builds the recording command by
    // command: the operator ends it. A communication error has its own handling (the recovery's
    // "ED*", or nothing when the recovery is off); a closed port can send nothing.
    if (closing_ || !wholeList || report.end == End::Completed || report.end == End::PortClosed ||
        report.end == End::LineLost || report.end == End::CommunicationError)
        return;
    for (int n = 1; n <= TChannelState::ChannelCount; ++n) {
        if (basis_.state.State(n) != TChannelState::Communication)
            continue;
        connection_.WriteText("ED*");
        if (report.end == End::NoAnswer)
            log_.AddLogLine(basis_.lang.ExtraText(Ext::RecordingMayRemain).arg(n), true);
        else
            log_.AddLogLine(basis_.lang.ExtraText(Ext::RecordingLeftOpen).arg(n));
        shorter_ = ShorterProgramText(lines_, report, basis_.lang);
        if (!shorter_.isEmpty())
            log_.AddLogLine(shorter_);
        return; // one "ED*" ends the controller's communication mode
    }
}

void TSending::TellAnswers(quint64 throughSerial) {
    if (!thread_)
        return;
    for (const TRWThread::TLineAnswer& a : thread_->TakeAnswers(throughSerial))
        emit LineAnswered(a.index, a.line, a.echo, a.status);
}

void TSending::ThreadEnded(quint64 serial, const TSendReport& report) {
    if (serial == loggedSerial_)
        return; // its end was logged already, at a close
    // What was received before the end is acted on first, so that the log keeps its order.
    replies_.HandleReceivedSoFar();
    const bool current = thread_ && thread_->Serial() == serial;
    if (current)
        TellAnswers(UINT64_MAX);
    if (report.end == End::NoAnswer)
        log_.AddLogLine(basis_.lang.Message(Msg::NoReply), true);
    if (report.end == End::PortClosed)
        log_.AddLogLine(basis_.lang.ExtraText(Ext::PortClosedNotSent).arg(Shown(report.line)), true);
    if (report.end == End::LineLost)
        log_.AddLogLine(basis_.lang.ExtraText(Ext::LineLostInFlight).arg(Shown(report.line)), true);
    if (report.count > 1)
        log_.AddLogLine(SendSummary(report, basis_.lang),
                        report.end != End::Completed && report.end != End::StoppedByOperator);
    EndRecordingLeftOpen(report, serial != directSerial_);
    // A list sent whole that ends inside LD ... ED leaves its channel recording, as it asked.
    if (report.end == End::Completed && serial != directSerial_) {
        if (const auto open = OpenRecordingAtEnd(lines_))
            log_.AddLogLine(
                basis_.lang.ExtraText(Ext::SendingLeftRecording).arg(open->channel).arg(open->line + 1));
    }
    // A late report of an earlier sending must not release the running one.
    if (current)
        thread_.reset();
    emit Ended(report);
}
