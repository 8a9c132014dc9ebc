#include "ReplyHandler.h"

#include "core/Dialogs.h"
#include "core/Events.h"
#include "core/Scheduler.h"
#include "core/UnitCommonDatas.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "serial/LineWriter.h"

namespace {
// The Cyrillic letters O and K: a command the controller stored while recording.
const QString kStored = QString::fromUtf8("ОК");
} // namespace

TReplyHandler::TReplyHandler(TCommonDatas& datas, const TLang& lang, TNamedEvent& replyEvent,
                             TNamedEvent& readyEvent, TNamedEvent& readBackEvent, ILineWriter& writer,
                             IScheduler& scheduler)
    : QObject(nullptr), datas_(datas), lang_(lang), replyEvent_(replyEvent), readyEvent_(readyEvent),
      readBackEvent_(readBackEvent), writer_(writer), scheduler_(scheduler) {}

QString TReplyHandler::Message(int index) const {
    return lang_.Message(index);
}

void TReplyHandler::Receive(const QString& text) {
    receiveBuffer_ += text;
    HandleReplies();
}

void TReplyHandler::HandleReplies() {
    CheckCommunicationError();

    const qsizetype cr = receiveBuffer_.indexOf('\r');
    if (cr >= 0)
        receiveBuffer_.remove(cr, 1);
    const qsizetype lf = receiveBuffer_.indexOf('\n');
    if (lf >= 0)
        receiveBuffer_.remove(lf, 1);

    // The buffer may be emptied while a token is handled (a message box lets a recovery step
    // run), so it is looked at afresh for every token.
    for (qsizetype star = receiveBuffer_.indexOf('*'); star >= 0; star = receiveBuffer_.indexOf('*')) {
        const QString token = CleanToken(receiveBuffer_.left(star + 1));
        receiveBuffer_.remove(0, star + 1);
        if (!readyEvent_.WaitFor(1000)) {
            Dialogs().ShowMessage(Message(Msg::TransferNotReady));
            continue;
        }
        HandleToken(token);
    }
    if (receiveBuffer_.size() > MaxPendingText)
        receiveBuffer_.remove(0, receiveBuffer_.size() - MaxPendingText);
}

QString TReplyHandler::CleanToken(const QString& token) {
    const auto digit = [](QChar c) { return c >= '0' && c <= '9'; };
    const qsizetype n = token.size();
    if (n > 4 && token[n - 4] == 'E' && digit(token[n - 3]) && digit(token[n - 2]) && token[n - 1] == '*')
        return token.right(4);
    qsizetype first = 0;
    while (first < n - 1 && !(token[first] >= 'A' && token[first] <= 'Z'))
        ++first;
    return first == 0 ? token : token.mid(first);
}

void TReplyHandler::CheckCommunicationError() {
    static const QString errors[] = {"E15*", "E25*", "E35*"};
    for (const QString& error : errors) {
        const qsizetype p = receiveBuffer_.indexOf(error);
        if (p < 0)
            continue;
        // One communication error is taken out per call; another stays an ordinary token.
        emit CommunicationError();
        datas_.SetLastError(error);
        datas_.AddLogLine(Message(Msg::DataTransferError), true);
        if (datas_.AutoRecovery)
            RunErrorRecovery();
        if (QStringView(receiveBuffer_).mid(p, 4) == error)
            receiveBuffer_.remove(p, 4);
        Dialogs().ShowMessage(Message(Msg::DataTransferError));
        return;
    }
}

void TReplyHandler::HandleToken(const QString& token) {
    if (IsStatusToken(token)) {
        datas_.SetLastError(token);
        switch (token[2].unicode()) {
        case '2':
        case '3':
        case '4':
        case '8':
            DecodeStatus(token);
            if (datas_.ProgramRunning) {
                replyEvent_.Set();
                const QString lastReply = datas_.LastReply();
                for (int n = 1; n <= 3; ++n) {
                    if (lastReply == QString("ST%1*").arg(n))
                        datas_.SetCoordRunning(n, false);
                }
            }
            break;
        case '0':
        case '6':
        case '9':
            DecodeStatus(token);
            replyEvent_.Set();
            break;
        default:
            break;
        }
        return;
    }

    if (token == "RD1*" || token == "RB*")
        datas_.ReadBackActive = true;
    if (datas_.ReadBackActive) {
        datas_.AppendReadBackText(token);
        if (datas_.ReadBackText().contains("ED*"))
            readBackEvent_.Set();
    }
    if (token == "ST*") {
        for (int n = 1; n <= 3; ++n)
            datas_.SetCoordRunning(n, true);
    } else if (token == "ST1*" || token == "ST2*" || token == "ST3*") {
        datas_.SetCoordRunning(token[2].unicode() - '0', true);
    }
    datas_.SetLastReply(token);
    datas_.SetLastError(QString());
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
        } else if (lastReply.startsWith("ST") && !datas_.DirectControl) {
            datas_.AddLogLine(Message(Msg::Coordinate) + ch + Message(Msg::ExecutingStarted));
            setState(TCommonDatas::Executing);
        }
        break;
    case '2':
        setState(TCommonDatas::Paused);
        datas_.AddLogLine(Message(Msg::Suspended) + ch);
        break;
    case '3':
        Dialogs().ShowMessage(Message(Msg::ProgramError) + ch);
        break;
    case '4':
        if (!lastReply.contains("PS")) {
            setState(TCommonDatas::Standby);
            datas_.AddLogLine(Message(Msg::Coordinate) + ch + Message(Msg::ExecutingCompleted));
        }
        break;
    case '6':
        datas_.AddLogLine(Message(Msg::IncorrectCommand), true);
        break;
    case '8':
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
    if (datas_.RecoveryBreakComm) {
        ++recoveriesRunning_;
        BreakCommunication([this] {
            --recoveriesRunning_;
            if (datas_.RecoveryClearMarks)
                ClearReadinessMarks();
        });
    } else if (datas_.RecoveryClearMarks) {
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
    receiveBuffer_.clear();
    datas_.SetLastReply(QString());
    datas_.SetLastError(QString());
    readyEvent_.Set();
    replyEvent_.Reset();
    datas_.AddLogLine(Message(Msg::RecoveryClearMarks));
}
