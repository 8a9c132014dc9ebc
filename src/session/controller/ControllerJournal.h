#pragma once

#include "RunningChannels.h"
#include "journal/JournalFiles.h"

#include <QJsonObject>
#include <QObject>
#include <QString>

class ISettingsView;
class TConnection;
class TMachineStop;
class TProgramPaths;
class TReadingBack;
class TReplyHandler;
class TSending;
struct TSendReport;

// The run journal of one controller: what happened to it, written as it happens into the
// program folder's journal (Data/journal), as long as the operator's settings keep it on. It
// hears the controller's own parts: the line opened, closed and lost; each list sent and how it
// ended; each coordinate's start, pause, resume, stop, completion and error as the controller
// said them; the Stop key. The workplace records what only it knows (a verify's verdict, a user
// button, a change of scale) through Record.
class TControllerJournal : public QObject {
    Q_OBJECT
public:
    struct TParts {
        TConnection& line;
        TSending& sending;
        TRunningChannels& running;
        TReplyHandler& replies;
        TMachineStop& stop;
        TReadingBack& reading;
    };
    TControllerJournal(const TProgramPaths& paths, const ISettingsView& settings, const TParts& parts);

    // Who writes: "window" unless told otherwise (kvtctl says "kvtctl").
    void SetWho(const QString& who) { who_ = who; }
    // Off, nothing is written whatever the settings say (kvtctl without a program folder).
    void SetWriting(bool on) { writing_ = on; }
    // One event now; nothing when the journal is off. False when it could not be written (the
    // reason in Files().LastError()).
    bool Record(const QString& kind, int channel = 0, const QJsonObject& fields = {});
    const TJournalFiles& Files() const { return files_; }

    // The words the journal keeps for a sending's end.
    static QString OutcomeOf(const TSendReport& report);

signals:
    // A record could not be written, the first time since the last one that could.
    void Failed(const QString& why);

private:
    void Written(const TSendReport& report);
    void Went(int channel, TRunningChannels::Run from, TRunningChannels::Run to,
              TRunningChannels::Cause cause);

    const ISettingsView& settings_;
    TSending& sending_;
    TJournalFiles files_;
    QString who_ = "window";
    bool writing_ = true;
    bool failing_ = false;
    QString device_; // the line open, for its loss
};
