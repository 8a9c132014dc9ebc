#include "ReplyHandler.h"

#include "ReplyLog.h"
#include "core/Events.h"
#include "core/Scheduler.h"
#include "core/UnitCommonDatas.h"
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

TReplyHandler::TReplyHandler(TCommonDatas& datas, const TLang& lang, TNamedEvent& readBackEvent,
                             ILineWriter& writer, IScheduler& scheduler, TReplyLog* log)
    : QObject(nullptr), datas_(datas), lang_(lang), readBackEvent_(readBackEvent), writer_(writer),
      scheduler_(scheduler), log_(log), reader_(datas) {
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
    return lang_.Message(index);
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
        return reader_.HasItems();
    handling_ = true;
    QElapsedTimer elapsed;
    elapsed.start();
    bool characters = false;
    // Called with a budget (the timer), it takes whatever there is; without, only what had
    // come when it was called: the rest is the timer's.
    const quint64 through = budgetMs >= 0 ? UINT64_MAX : throughChunk;
    for (;;) {
        std::vector<TReplyReader::TItem> items = reader_.Take(256, through);
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
                if (log_)
                    log_->Append(item.characters);
                characters = true;
                break;
            case TReplyReader::TItem::CommunicationError:
                HandleCommunicationError(item.text);
                break;
            case TReplyReader::TItem::Token:
                HandleToken(item.text, item.serial);
                break;
            case TReplyReader::TItem::TextDropped:
                datas_.AddLogLine(lang_.ExtraText(Ext::UnterminatedTextDropped).arg(MaxPendingText), true);
                break;
            }
        }
        if (budgetMs >= 0 && elapsed.elapsed() >= budgetMs)
            break;
    }
    sinceHandled_.restart();
    if (reader_.HasItems() && !handleTimer_.isActive())
        handleTimer_.start(kHandleIntervalMs);
    handling_ = false;
    if (characters)
        emit CharactersReceived();
    return reader_.HasItems();
}

void TReplyHandler::HandleCommunicationError(const QString& error) {
    // Whatever is being sent stops first, or the recovery's "ED*" would land between its lines.
    emit CommunicationError();
    datas_.SetLastError(error);
    datas_.AddLogLine(Message(Msg::DataTransferError), true);
    if (datas_.AutoRecovery())
        RunErrorRecovery();
    emit Alert(Message(Msg::DataTransferError));
}

void TReplyHandler::HandleToken(const QString& token, quint64 serial) {
    emit TokenArrived(token, serial);
    if (IsStatusToken(token)) {
        datas_.SetLastError(token);
        switch (token[2].unicode()) {
        case '2':
        case '3':
        case '4':
        case '8':
            DecodeStatus(token);
            if (datas_.ProgramRunning) {
                // The reader answers codes 0, 6 and 9 itself; these answer only while a
                // program runs, which is known here.
                const QString lastReply = datas_.LastReply();
                reader_.Publish(serial, lastReply, token);
                for (int n = 1; n <= 3; ++n) {
                    if (lastReply == QString("ST%1*").arg(n))
                        datas_.SetCoordRunning(n, false);
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
        datas_.ReadBackActive = true;
    if (datas_.ReadBackActive && readBackExpected_)
        CollectReadBack(token);
    if (token == "ST*") {
        for (int n = 1; n <= 3; ++n)
            datas_.SetCoordRunning(n, true);
    } else if (token == "ST1*" || token == "ST2*" || token == "ST3*") {
        datas_.SetCoordRunning(token[2].unicode() - '0', true);
    }
    datas_.SetLastReply(token);
    datas_.SetLastError(QString());
}

void TReplyHandler::BeginReadBack() {
    readBackExpected_ = true;
    readBackTokens_ = 0;
    datas_.SetReadBackText(QString());
}

void TReplyHandler::EndReadBack() {
    readBackExpected_ = false;
    datas_.ReadBackActive = false;
    datas_.SetReadBackText(QString());
}

void TReplyHandler::CollectReadBack(const QString& token) {
    // The end is looked for where the new token meets what came before: the whole text is never
    // searched again.
    const QString before = datas_.ReadBackText().right(2);
    datas_.AppendReadBackText(token);
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
            datas_.SetCoordState(channel, state);
    };
    const QString lastReply = datas_.LastReply();

    switch (token[2].unicode()) {
    case '0':
        if (datas_.CommMode) {
            if (lastReply != "ED*") {
                datas_.AddRecordingLine(lastReply + kStored);
            } else {
                for (int n = 1; n <= 3; ++n) {
                    if (datas_.CoordState[n] == TCommonDatas::Communication)
                        datas_.SetCoordState(n, TCommonDatas::Standby);
                }
                datas_.AddLogLine(Message(Msg::RecordingToCoordinate) + ch + Message(Msg::Completed));
            }
        } else if (lastReply.startsWith("LD")) {
            setState(TCommonDatas::Communication);
            datas_.AddLogLine(Message(Msg::Coordinate) + ch + Message(Msg::InCommunicationMode));
        } else if (lastReply.startsWith("RD")) {
            datas_.ReadBackActive = true;
        } else if (lastReply.startsWith("ST") && channel != 0 && lastReply == QString("ST%1*").arg(channel) &&
                   stopsExpected_.removeOne(channel)) {
            datas_.AddLogLine(lang_.ExtraText(Ext::ChannelStopped).arg(ch));
        } else if (lastReply.startsWith("ST") && !datas_.Settings().DirectControl) {
            datas_.AddLogLine(Message(Msg::Coordinate) + ch + Message(Msg::ExecutingStarted));
            setState(TCommonDatas::Executing);
        }
        break;
    case '2':
        if (channel != 0)
            emit ChannelReported(channel, Report::Paused, token);
        setState(TCommonDatas::Paused);
        datas_.AddLogLine(Message(Msg::Suspended) + ch);
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
            setState(TCommonDatas::Standby);
            datas_.AddLogLine(Message(Msg::Coordinate) + ch + Message(Msg::ExecutingCompleted));
        }
        break;
    case '6':
        datas_.AddLogLine(Message(Msg::IncorrectCommand), true);
        break;
    case '8':
        if (channel != 0)
            emit ChannelReported(channel, Report::Resumed, token);
        datas_.AddLogLine(Message(Msg::Resumed) + ch);
        setState(TCommonDatas::Executing);
        break;
    case '9':
        datas_.AddLogLine(Message(Msg::IncorrectData), true);
        break;
    default:
        break;
    }
}

void TReplyHandler::RunErrorRecovery() {
    // Every error runs a recovery of its own, also while an earlier one is under way: the
    // controller may have left communication mode and entered it again in between.
    if (datas_.RecoveryBreakComm()) {
        ++recoveriesRunning_;
        BreakCommunication([this] {
            --recoveriesRunning_;
            if (datas_.RecoveryClearMarks())
                ClearReadinessMarks();
        });
    } else if (datas_.RecoveryClearMarks()) {
        ClearReadinessMarks();
    }
}

void TReplyHandler::BreakCommunication(std::function<void()> then) {
    scheduler_.After(200, [this, then = std::move(then)]() mutable {
        writer_.WriteText("ED*");
        scheduler_.After(200, [this, then = std::move(then)] {
            datas_.AddLogLine(Message(Msg::RecoveryBreakComm));
            if (then)
                then();
        });
    });
}

void TReplyHandler::ClearReadinessMarks() {
    reader_.Clear(currentChunk_);
    clearedThrough_ = currentChunk_;
    datas_.SetLastReply(QString());
    datas_.SetLastError(QString());
    datas_.AddLogLine(Message(Msg::RecoveryClearMarks));
}
