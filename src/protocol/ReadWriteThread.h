#pragma once

#include "ReplyReader.h"
#include "core/SendReport.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class ILineWriter;
class ISettingsView;

// The sending: it sends the lines of a command list one at a time, each followed by '*',
// and sends the next only when the controller has answered the one before. It stops on a
// missing answer, on a command error or command data error when the settings say so, on a
// communication error, when a line cannot be written, and when the operator asks it to stop
// (after the line being sent has its answer).
//
// It works on its own copy of the list, taken when it is created, so nothing the operator does
// meanwhile changes what is sent; any number of lines is sent whole. An answer counts for a line
// only when it is a status token that follows that line's own echo and was received after the
// line was sent: a late answer to an earlier line is never taken for the answer to the next one.
//
// The next line goes out from wherever the answer is matched (the reply reader, on the port's
// read thread), so that a line costs no more thread switches than the line itself; the
// sending's own thread sends the first line, keeps the reply time of each, and reports
// the end. Its one report, Ended, is emitted from that thread; a receiver on the main thread
// gets it queued. Every sending has a serial number of its own, never reused.
class TRWThread : public QObject {
    Q_OBJECT
public:
    // The answer to one line.
    enum class Reply { Go, NoAnswer, CommandError, DataError, CommunicationError };
    Q_ENUM(Reply)
    // How a sending ended, and what it did.
    using End = TSendReport::End;
    using TReport = TSendReport;

    // A line and the answer that the sending took for it; `serial` is the status token's
    // place among all tokens, so that it can be told when that token is acted on.
    struct TLineAnswer {
        quint64 serial = 0;
        int index = 0; // 0-based
        QString line, echo, status;
    };

    TRWThread(QStringList lines, const ISettingsView& datas, TReplyReader& reader, ILineWriter& writer);
    // Stops the sending and waits for its thread; it ends at once.
    ~TRWThread() override;
    TRWThread(const TRWThread&) = delete;
    TRWThread& operator=(const TRWThread&) = delete;

    // Starts sending (once); connect to Ended first.
    void Start();
    // Stops at once and waits for the thread; FinalReport then tells how it ended.
    void StopAndWait();
    TReport FinalReport() const { return finalReport_; }
    // Sends no further line once the line being sent has its answer (or its reply time runs
    // out, which ends it as NoAnswer).
    void StopAfterCurrentLine();
    // The device went away: nothing can answer; it ends at once as LineLost.
    void PortLost();
    bool Finished() const { return finished_; }
    // How far it is, readable from any thread: the 1-based number of the line waiting for its
    // answer (0 before the first), and the count of lines of the list.
    int CurrentLine() const;
    int LineCount() const { return lineCount_; }
    // The lines answered by status tokens numbered up to `throughSerial`, in order, each taken
    // once (a line's answer is known on the read thread a moment after its token is queued).
    std::vector<TLineAnswer> TakeAnswers(quint64 throughSerial);
    quint64 Serial() const { return serial_; }

    // How long, in reply times, an answer owed by a line that gave up is waited for before the
    // next sending's first line goes out.
    static constexpr int OwedStatusReplyTimes = 5;

    // What a status token answers: Go, CommandError (E<n>6*) or DataError (E<n>9*).
    static Reply Classify(const QString& status);
    static bool EchoMatches(const QString& echo, const QString& line);

signals:
    // The sending ended; see TReport.
    void Ended(quint64 serial, const TRWThread::TReport& report);

private:
    class TState;
    void Execute(std::stop_token stop);

    std::shared_ptr<TState> state_;
    TReplyReader& reader_;
    const quint64 serial_;
    const int lineCount_;
    std::atomic<bool> finished_{false};
    TReport finalReport_; // written by the thread before it ends
    std::jthread thread_;
};
