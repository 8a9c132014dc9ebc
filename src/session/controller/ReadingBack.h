#pragma once

#include "editor/FileTie.h"
#include "operations/ChanReadThread.h"
#include "operations/ReadBack.h"
#include "protocol/ControllerBasis.h"

#include <QObject>

#include <memory>

class TCommandList;
class TChannelState;
class ISettingsView;
class TConnection;
class TKVTCommands;
class TLang;
class TNamedEvent;
class TReplyHandler;
class IOperationLog;

// Reading back the program the controller holds: the request sent and the program awaited as
// long as characters keep coming, the reply read as commands, compared with what the command
// list writes, and taken over into the command list.
class TReadingBack : public QObject {
    Q_OBJECT
public:
    enum class Start { Started, RecordingMode, NotInStandby, AlreadyReading };
    // What a comparison found, in the operator's words (red when the programs differ).
    struct TVerdict {
        TComparison comparison;
        QString text;
    };

    TReadingBack(const TControllerBasis& basis, const TKVTCommands& commands, TReplyHandler& replies,
                 TNamedEvent& readEvent, TConnection& connection, IOperationLog& log);
    ~TReadingBack() override;

    // Sends "RD<channel>*" (channel 1 to 3), or "RB*" for the buffer (0), and waits for the
    // program; Done reports the end. The channel (channel 1 for the buffer) must be in standby.
    Start Begin(int channel);
    // Abandons a read under way (its end is never reported) and ends the collection.
    void Cancel();
    bool IsReading() const { return thread_ != nullptr; }
    // The collected text as commands of `into`, with the scale as for typed values, named by the
    // channel last read; a value that ended the parse is logged, and so is a channel that holds
    // no program.
    TReadBack Parse(const QStringList& lines, TCommandList& into);
    // The read's commands against what `listLines` writes for the read's channel (its LD n ... ED;
    // the buffer's: the first program).
    // (Compared tells it, for the journal.)
    TVerdict Compare(const TReadBack& read, const QStringList& listLines);
    // A read's commands as a program to keep: ended by ED when the read was whole and its
    // program would otherwise leave the recording open (the controller lists its program
    // without the ED that ended the recording), so that it can be written back as it is.
    TFileTie::TText WholeProgram(const TCommandList& read, const TReadBack& parsed) const;

signals:
    // NoAnswer (logged), or Read with the collected text ("no correct program" already logged
    // when it lacks its end).
    void Done(TChanReadThread::Outcome outcome, const QString& text);
    // A program read back of `channel` (0: the buffer) was compared with a list.
    void Compared(int channel, const TReadingBack::TVerdict& verdict);

private:
    void ThreadDone(TChanReadThread::Outcome outcome);
    // Channel n in the words of `channelText` ("channel %1"), or the buffer in `bufferText`'s.
    QString Whose(int channel, int channelText, int bufferText) const;

    const TControllerBasis basis_;
    const TKVTCommands& commands_;
    TReplyHandler& replies_;
    TConnection& connection_;
    IOperationLog& log_;
    TNamedEvent& event_; // "EventReadedName": the program collected
    int channel_ = 1;    // what the last read asked for (0: the buffer)
    std::unique_ptr<TChanReadThread> thread_;
};
