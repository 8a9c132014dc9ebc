#pragma once

#include "core/ProgramPaths.h"

#include <QObject>

#include <memory>

class ILogView;
class IStateView;
class TChannels;
class TCommonDatas;
class TConnection;
class TKVTCommands;
class TLang;
class TListEdits;
class TMachineStop;
class TOperatorSettings;
class TProgramDocument;
class TProgramEditor;
class TReadingBack;
class TRunningChannels;
class TSending;
class TSessionLogs;
class TSimpleMode;
class TUserButtons;

// The program without its windows: the composition root. It makes the parts in order (the
// logs, the shared state, the language, the vocabulary, then its rooms), wires them, runs the
// close, and keeps the read-only views every part shares: the program folder's paths, the
// shared state, the language and the vocabulary. The rooms do the work, each with its own
// operations, views and signals, and never call back into the root:
//
//   Logs()      the operation log and the reply log, their files and copies
//   Options()   the operator's settings and language, the recent files
//   Connection() the line to the controller: the port, its settings, a device lost and back
//   Sending()   one list at a time, line by line, each line's answer and each channel's report
//   Channels()  the channels by hand: their selection, their states, the recovery steps
//   Editor()    the command list, the units, the simple mode's lists, the preview
//   ListEdits() rows copied, cut and pasted as text, a row's argument edited in place
//   Document()  the list's program file, what of it is unsaved, load, save, import, export
//   ReadBack()  the program the controller holds, read, compared, taken over
//   UserButtons() the operator's own named sequences of lines, their file, each sent on request
//   MachineStop() the Stop key: the sending, then every channel that runs; a channel by hand
//   Running()   which channels run, as far as what the controller took and said tells
//   SimpleMode() the simple panel's buttons: their lists made and sent
//
// A window, a dialog or kvtctl takes the room it needs. It lives on the main thread.
class TSession : public QObject {
    Q_OBJECT
public:
    // `logView` shows the logs (the window, or kvtctl's output); `stateView`, when there is
    // one, the indicators, captions and buttons. The settings files are read, the language
    // loaded; the line is not opened yet.
    TSession(const QString& programFolder, ILogView& logView, IStateView* stateView = nullptr,
             QObject* parent = nullptr);
    // A sending and a read under way stop at once, the line closes (what it owes kept for the
    // next session), then the rest goes.
    ~TSession() override;
    TSession(const TSession&) = delete;
    TSession& operator=(const TSession&) = delete;

    const TProgramPaths Paths;

    // --- the read-only views every part shares ---
    const TCommonDatas& Datas() const;
    const TLang& Lang() const;
    const TKVTCommands& Commands() const;

    // --- the rooms ---
    TSessionLogs& Logs();
    TOperatorSettings& Options();
    TConnection& Connection();
    TSending& Sending();
    TChannels& Channels();
    TProgramEditor& Editor();
    TListEdits& ListEdits();
    TProgramDocument& Document();
    TReadingBack& ReadBack();
    TUserButtons& UserButtons();
    TMachineStop& MachineStop();
    TRunningChannels& Running();
    TSimpleMode& SimpleMode();

    // A second program on a folder another holds: nothing of the folder is saved at the close.
    void SetReadOnly(bool readOnly);
    bool ReadOnly() const { return readOnly_; }
    // What the close saves, each when its flag is on: the described files first, portp.dat,
    // prp.dat, erp.dat, work.log and port.log (the settings first: small, and not to be lost to a
    // log that can't be written), throwing EFileError at the first that can't be written; then
    // the program's own, extra-settings.txt, the command line's history and this session's copies
    // of the logs, whose failures are returned (in the operator's words) and stop nothing.
    QStringList SaveOnClose() const;

signals:
    // A text for a message box: a program error or a communication error of the controller.
    void Alert(const QString& text);
    // Characters came from the controller (the reply log has them).
    void Received();

private:
    struct TParts;
    std::unique_ptr<TParts> parts_;
    bool readOnly_ = false;
};
