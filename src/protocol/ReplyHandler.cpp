#include "ReplyHandler.h"

#include "ReplyLog.h"
#include "core/ChannelState.h"
#include "core/CommonDatasView.h"
#include "core/Events.h"
#include "core/Scheduler.h"
#include "core/SettingsView.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "serial/LineWriter.h"

namespace {
// The Cyrillic letters O and K: a command the controller stored while recording.
const QString kStored = QString::fromUtf8("ОК");
} // namespace

namespace {
// Received text is taken at most this often while it streams in, and for about this long at once.
constexpr int kHandleIntervalMs = 25;
constexpr int kHandleSliceMs = 4;
} // namespace

TReplyHandler::TReplyHandler(const TControllerBasis& basis, TNamedEvent& readBackEvent, ILineWriter& writer,
                             IScheduler& scheduler, ILogView& log, TReplyLog* replyLog)
    : QObject(nullptr), basis_(basis), readBackEvent_(readBackEvent), writer_(writer), scheduler_(scheduler),
      log_(log), replyLog_(replyLog) {
    // The recovery's policy, read here alone: with only its clearing step to do, the rest of a
    // chunk that holds a communication error is dropped at once, on the read thread.
    reader_.SetClearOnCommunicationError([this] {
        const ISettingsView::TReactions r = basis_.settings.Reactions();
        return r.autoRecovery && !r.breakComm && r.clearMarks;
    });
    handleTimer_.setSingleShot(true);
    connect(&handleTimer_, &QTimer::timeout, this, [this] {
        if (HandleQueued(kHandleSliceMs))
            handleTimer_.start(0); // more waits: after the window has had its turn
    });
    sinceHandled_.start();
    reader_.SetNotify(
        [this] { QMetaObject::invokeMethod(this, &TReplyHandler::ItemsArrived, Qt::QueuedConnection); });
}

QString TReplyHandler::Message(int index) const {
    return basis_.lang.Message(index);
}

void TReplyHandler::Receive(const QString& text) {
    reader_.ChunkReceived(text.toLatin1(), 0);
    HandleReceivedSoFar();
}

void TReplyHandler::ItemsArrived() {
    if (handleTimer_.isActive())
        return;
    handleTimer_.start(int(std::max<qint64>(0, kHandleIntervalMs - sinceHandled_.elapsed())));
}

void TReplyHandler::HandleReceivedSoFar() {
    HandleQueued(-1, reader_.ChunksReceived());
}

bool TReplyHandler::HandleQueued(int budgetMs, quint64 throughChunk) {
    // Never inside itself: a nested event loop (a message box opened by a receiver) must not
    // handle later tokens before the rest of the earlier ones.
    if (handling_)
        return reader_.Queue().HasItems();
    handling_ = true;
    QElapsedTimer elapsed;
    elapsed.start();
    bool characters = false;
    // Called with a budget (the timer), it takes whatever there is; without, only what had
    // come when it was called: the rest is the timer's.
    const quint64 through = budgetMs >= 0 ? UINT64_MAX : throughChunk;
    for (;;) {
        std::vector<TReplyReader::TItem> items = reader_.Queue().Take(256, through);
        if (items.empty())
            break;
        for (const TReplyReader::TItem& item : items) {
            // A clearing step (a recovery, perhaps run from a message box meanwhile) drops what
            // remained of the chunks received until then.
            if (item.chunk <= clearedThrough_)
                continue;
            currentChunk_ = item.chunk;
            switch (item.kind) {
            case TReplyReader::TItem::Characters:
                if (replyLog_)
                    replyLog_->Append(item.characters);
                characters = true;
                break;
            case TReplyReader::TItem::CommunicationError:
                HandleCommunicationError(item.text);
                break;
            case TReplyReader::TItem::Token:
                HandleToken(item.text, item.serial);
                break;
            case TReplyReader::TItem::TextDropped:
                log_.AddLogLine(basis_.lang.ExtraText(Ext::UnterminatedTextDropped).arg(MaxPendingText),
                                true);
                break;
            }
        }
        if (budgetMs >= 0 && elapsed.elapsed() >= budgetMs)
            break;
    }
    sinceHandled_.restart();
    if (reader_.Queue().HasItems() && !handleTimer_.isActive())
        handleTimer_.start(kHandleIntervalMs);
    handling_ = false;
    if (characters)
        emit CharactersReceived();
    return reader_.Queue().HasItems();
}

void TReplyHandler::HandleCommunicationError(const QString& error) {
    // Whatever is being sent stops first, or the recovery's "ED*" would land between its lines.
    emit CommunicationError();
    lastError_ = error;
    log_.AddLogLine(Message(Msg::DataTransferError), true);
    const ISettingsView::TReactions policy = basis_.settings.Reactions(); // read once for this error
    if (policy.autoRecovery)
        RunRecovery(policy);
    emit Alert(Message(Msg::DataTransferError));
}

void TReplyHandler::HandleToken(const QString& token, quint64 serial) {
    emit TokenArrived(token, serial);
    if (IsStatusToken(token)) {
        lastError_ = token;
        switch (token[2].unicode()) {
        case '2':
        case '3':
        case '4':
        case '8':
            DecodeStatus(token);
            if (basis_.state.ProgramRunning()) {
                // The reader answers codes 0, 6 and 9 itself; these answer only while a
                // program runs, which is known here.
                const QString lastReply = lastReply_;
                reader_.Publish(serial, lastReply, token);
                for (int n = 1; n <= 3; ++n) {
                    if (lastReply == QString("ST%1*").arg(n))
                        basis_.state.SetCoordRunning(n, false);
                }
            }
            break;
        case '0':
        case '6':
        case '9':
            DecodeStatus(token); // the reader has already answered the sending
            break;
        default:
            break;
        }
        return;
    }

    if (token == "RD1*" || token == "RD2*" || token == "RD3*" || token == "RB*")
        basis_.state.SetReadBackActive(true);
    if (basis_.state.ReadBackActive() && readBackExpected_)
        CollectReadBack(token);
    if (token == "ST*") {
        for (int n = 1; n <= 3; ++n)
            basis_.state.SetCoordRunning(n, true);
    } else if (token == "ST1*" || token == "ST2*" || token == "ST3*") {
        basis_.state.SetCoordRunning(token[2].unicode() - '0', true);
    }
    lastReply_ = token;
    lastError_ = QString();
}

void TReplyHandler::BeginReadBack() {
    readBackExpected_ = true;
    readBackTokens_ = 0;
    readBackText_.clear();
}

void TReplyHandler::EndReadBack() {
    readBackExpected_ = false;
    basis_.state.SetReadBackActive(false);
    readBackText_.clear();
}

void TReplyHandler::CollectReadBack(const QString& token) {
    // The end is looked for where the new token meets what came before: the whole text is never
    // searched again.
    const QString before = readBackText_.right(2);
    readBackText_ += token;
    if ((before + token).contains("ED*") || ++readBackTokens_ >= MaxReadBackTokens) {
        readBackExpected_ = false; // nothing more belongs to this read
        readBackEvent_.Set();
    }
}

void TReplyHandler::DecodeStatus(const QString& token) {
    if (token.size() < 3)
        return;
    const QChar ch = token[1];
    // A state change applies to channels 1 to 3 only; log lines show the digit whatever it is.
    const int channel = (ch >= '1' && ch <= '3') ? ch.unicode() - '0' : 0;
    const auto setState = [&](quint8 state) {
        if (channel != 0)
            basis_.state.SetCoordState(channel, state);
    };
    const QString lastReply = lastReply_;

    switch (token[2].unicode()) {
    case '0':
        if (basis_.state.CommMode()) {
            if (lastReply != "ED*") {
                log_.AddRecordingLine(lastReply + kStored);
            } else {
                for (int n = 1; n <= 3; ++n) {
                    if (basis_.state.State(n) == TChannelState::Communication)
                        basis_.state.SetCoordState(n, TChannelState::Standby);
                }
                log_.AddLogLine(Message(Msg::RecordingToCoordinate) + ch + Message(Msg::Completed));
            }
        } else if (lastReply.startsWith("LD")) {
            setState(TChannelState::Communication);
            log_.AddLogLine(Message(Msg::Coordinate) + ch + Message(Msg::InCommunicationMode));
        } else if (lastReply.startsWith("RD")) {
            basis_.state.SetReadBackActive(true);
        } else if (lastReply.startsWith("ST") && channel != 0 && lastReply == QString("ST%1*").arg(channel) &&
                   stopsExpected_.removeOne(channel)) {
            log_.AddLogLine(basis_.lang.ExtraText(Ext::ChannelStopped).arg(ch));
        } else if (lastReply.startsWith("ST") && !basis_.settings.Settings().DirectControl) {
            log_.AddLogLine(Message(Msg::Coordinate) + ch + Message(Msg::ExecutingStarted));
            setState(TChannelState::Executing);
        }
        break;
    case '2':
        if (channel != 0)
            emit ChannelReported(channel, Report::Paused, token);
        setState(TChannelState::Paused);
        log_.AddLogLine(Message(Msg::Suspended) + ch);
        break;
    case '3':
        if (channel != 0)
            emit ChannelReported(channel, Report::ExecutionError, token);
        emit Alert(Message(Msg::ProgramError) + ch);
        break;
    case '4':
        if (!lastReply.contains("PS")) {
            if (channel != 0)
                emit ChannelReported(channel, Report::Completed, token);
            setState(TChannelState::Standby);
            log_.AddLogLine(Message(Msg::Coordinate) + ch + Message(Msg::ExecutingCompleted));
        }
        break;
    case '6':
        log_.AddLogLine(Message(Msg::IncorrectCommand), true);
        break;
    case '8':
        if (channel != 0)
            emit ChannelReported(channel, Report::Resumed, token);
        log_.AddLogLine(Message(Msg::Resumed) + ch);
        setState(TChannelState::Executing);
        break;
    case '9':
        log_.AddLogLine(Message(Msg::IncorrectData), true);
        break;
    default:
        break;
    }
}

void TReplyHandler::RunErrorRecovery() {
    RunRecovery(basis_.settings.Reactions());
}

void TReplyHandler::RunRecovery(const ISettingsView::TReactions& reactions) {
    // Every error runs a recovery of its own, also while an earlier one is under way: the
    // controller may have left communication mode and entered it again in between.
    if (reactions.breakComm) {
        ++recoveriesRunning_;
        BreakCommunication([this, clear = reactions.clearMarks] {
            --recoveriesRunning_;
            if (clear)
                ClearReadinessMarks();
        });
    } else if (reactions.clearMarks) {
        ClearReadinessMarks();
    }
}

void TReplyHandler::BreakCommunication(std::function<void()> then) {
    scheduler_.After(200, [this, then = std::move(then)]() mutable {
        writer_.WriteText("ED*");
        scheduler_.After(200, [this, then = std::move(then)] {
            log_.AddLogLine(Message(Msg::RecoveryBreakComm));
            if (then)
                then();
        });
    });
}

void TReplyHandler::ClearReadinessMarks() {
    reader_.Clear(currentChunk_);
    clearedThrough_ = currentChunk_;
    lastReply_ = QString();
    lastError_ = QString();
    log_.AddLogLine(Message(Msg::RecoveryClearMarks));
}
