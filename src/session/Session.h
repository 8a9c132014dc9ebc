#pragma once

#include "core/ProgramPaths.h"

#include <QObject>

#include <memory>

class ILogView;
class IStateView;
class TCommonDatas;
class TController;
class TKVTCommands;
class TLang;
class TListEdits;
class TOperatorSettings;
class TProgramDocument;
class TProgramEditor;
class TReadBackToList;
class TSessionLogs;
class TResumeSending;
class TSimpleMode;
class TUserButtons;

// The program without its windows: the composition root. It makes the parts in order (the
// logs, the operator's settings and texts, the language, the vocabulary, the controller, then
// the workplace's rooms), wires them, runs the close, and keeps the read-only views every part
// shares: the program folder's paths, the settings, the language and the vocabulary. The rooms
// do the work, each with its own operations, views and signals, and never call back into the
// root. The operator's workplace:
//
//   Logs()      the operation log and the reply log, their files and copies
//   Options()   the operator's settings and language, the recent files
//   Editor()    the command list, the units, the simple mode's lists, the preview
//   ListEdits() rows copied, cut and pasted as text, a row's argument edited in place
//   Document()  the list's program file, what of it is unsaved, load, save, import, export
//   UserButtons() the operator's own named sequences of lines, their file, each sent on request
//   SimpleMode() the simple panel's buttons: their lists made and sent
//   ReadBackToList() a program read back compared with the list and taken over into it
//   Resume()    a stopped sending of the list resumed, or the list sent from a row
//
// and the controller the workplace drives (Controller(): its line, replies, channels, sending,
// read-back, the Stop key), a unit of its own.
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
    // The controller goes first (a sending and a read under way stop at once, the line closes,
    // what it owes kept for the next session), then the rest.
    ~TSession() override;
    TSession(const TSession&) = delete;
    TSession& operator=(const TSession&) = delete;

    const TProgramPaths Paths;

    // --- the read-only views every part shares ---
    const TCommonDatas& Datas() const;
    const TLang& Lang() const;
    const TKVTCommands& Commands() const;

    // --- the controller ---
    TController& Controller();

    // --- the workplace's rooms ---
    TSessionLogs& Logs();
    TOperatorSettings& Options();
    TProgramEditor& Editor();
    TListEdits& ListEdits();
    TProgramDocument& Document();
    TUserButtons& UserButtons();
    TSimpleMode& SimpleMode();
    TReadBackToList& ReadBackToList();
    TResumeSending& Resume();

    // A second program on a folder another holds: nothing of the folder is saved at the close.
    void SetReadOnly(bool readOnly);
    bool ReadOnly() const { return readOnly_; }
    // What the close saves, each when its flag is on: the described files first, portp.dat,
    // prp.dat, erp.dat, work.log and port.log (the settings first: small, and not to be lost to a
    // log that can't be written), throwing EFileError at the first that can't be written; then
    // the program's own, extra-settings.txt, the command line's history and this session's copies
    // of the logs, whose failures are returned (in the operator's words) and stop nothing.
    QStringList SaveOnClose() const;

private:
    struct TParts;
    std::unique_ptr<TParts> parts_;
    bool readOnly_ = false;
};
