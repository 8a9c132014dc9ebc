#include "RunningChannels.h"

#include "Connection.h"
#include "core/OperationLog.h"
#include "core/ShownText.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "protocol/ReplyHandler.h"

TRunningChannels::TRunningChannels(TReplyHandler& replies, TConnection& connection, const TLang& lang,
                                   IOperationLog& log)
    : QObject(nullptr), lang_(lang), log_(log) {
    connect(&replies, &TReplyHandler::TokenArrived, this,
            [this](const QString& token, quint64) { Token(token); });
    connect(&replies, &TReplyHandler::ChannelReported, this,
            [this](int channel, TReplyHandler::Report report, const QString&) {
                switch (report) {
                case TReplyHandler::Report::Completed:
                    Set(channel, Run::Idle);
                    break;
                case TReplyHandler::Report::Paused:
                    Set(channel, Run::Paused);
                    break;
                case TReplyHandler::Report::Resumed:
                    Set(channel, Run::Running);
                    break;
                case TReplyHandler::Report::ExecutionError:
                    break; // whether it goes on is the controller's
                }
            });
    // Whatever ran may have ended, or been started by another, while the line was closed.
    connect(&connection, &TConnection::Opened, this, [this] {
        lastEcho_.clear();
        recording_ = 0;
        for (int n = 1; n <= 3; ++n)
            runs_[size_t(n)] = Run::Unknown;
        emit Changed();
        if (leftOpen_ != 0)
            emit RecordingLeftOpen(leftOpen_, leftLines_);
    });
    connect(&connection, &TConnection::Lost, this, [this] {
        if (recording_ == 0)
            return;
        leftOpen_ = recording_;
        leftLines_ = recordingLines_;
        recording_ = 0;
        log_.AddLogLine(lang_.ExtraText(Ext::LostInsideRecording)
                            .arg(leftOpen_)
                            .arg(leftLines_.size())
                            .arg(Shown(leftLines_.join(", "), 200)),
                        true);
    });
}

TRunningChannels::Run TRunningChannels::State(int channel) const {
    return Valid(channel) ? runs_[size_t(channel)] : Run::Unknown;
}

QList<int> TRunningChannels::Running() const {
    QList<int> channels;
    for (int n = 1; n <= 3; ++n) {
        if (runs_[size_t(n)] == Run::Running || runs_[size_t(n)] == Run::Paused)
            channels << n;
    }
    return channels;
}

QList<int> TRunningChannels::Unknown() const {
    QList<int> channels;
    for (int n = 1; n <= 3; ++n) {
        if (runs_[size_t(n)] == Run::Unknown)
            channels << n;
    }
    return channels;
}

void TRunningChannels::SetByHand(int channel, quint8 state) {
    static const Run runs[] = {Run::Idle, Run::Running, Run::Idle, Run::Paused};
    if (state < 4)
        Set(channel, runs[state], Cause::ByHand);
}

void TRunningChannels::ForgetLeftRecording() {
    leftOpen_ = 0;
    leftLines_.clear();
}

void TRunningChannels::Set(int channel, Run run, Cause cause) {
    if (!Valid(channel) || runs_[size_t(channel)] == run)
        return;
    const Run from = runs_[size_t(channel)];
    runs_[size_t(channel)] = run;
    emit Changed();
    emit Went(channel, from, run, cause);
}

void TRunningChannels::Token(const QString& token) {
    if (!TReplyHandler::IsStatusToken(token)) {
        lastEcho_ = token;
        return;
    }
    // Only what the controller accepted (code 0) changes what runs here; its reports of
    // completions, pauses and resumes come as channel reports.
    if (token[2] != '0' || lastEcho_.isEmpty())
        return;
    const QString echo = lastEcho_.chopped(1); // without its '*'
    lastEcho_.clear();
    const int channel = token[1].unicode() - '0';
    const QString code = echo.left(2);
    if (recording_ != 0) {
        if (code == "ED") {
            holds_[size_t(recording_)] = recordingLines_.size() > 1 ? 1 : 0;
            recording_ = 0;
            leftOpen_ = 0; // an ED taken ends any recording
        } else {
            recordingLines_ << echo;
        }
        return;
    }
    if (code == "ED") {
        leftOpen_ = 0;
        return;
    }
    if (code == "LD" && Valid(channel)) {
        recording_ = channel;
        recordingLines_ = {echo};
        leftOpen_ = 0;
        return;
    }
    if (code != "ST")
        return;
    if (echo.size() == 2) {
        // "ST" alone starts every channel that holds a program.
        for (int n = 1; n <= 3; ++n) {
            if (holds_[size_t(n)] == 1)
                Set(n, Run::Running, Cause::Started);
            else if (holds_[size_t(n)] == -1 && runs_[size_t(n)] != Run::Running)
                Set(n, Run::Unknown, Cause::Started);
        }
        return;
    }
    const int n = echo.mid(2).toInt();
    if (!Valid(n))
        return;
    // ST n toggles: a channel that ran is stopped (the controller reports its end at once, which
    // a channel whose state was not known gets as well).
    const Run was = runs_[size_t(n)];
    if (was == Run::Running || was == Run::Paused)
        Set(n, Run::Idle, Cause::Stopped);
    else
        Set(n, Run::Running, Cause::Started);
}
