#pragma once

#include "core/Dialogs.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <optional>

// What a benchmark of the program runs in: dialogs that answer at once (every question with yes,
// the file dialogs with `file`), installed while the setting lives, and a program folder in a
// temporary directory with the sub-folders the program expects.
class TBenchSetting : public IDialogs {
public:
    TBenchSetting();
    ~TBenchSetting() override;
    TBenchSetting(const TBenchSetting&) = delete;
    TBenchSetting& operator=(const TBenchSetting&) = delete;

    QString Folder() const { return dir_.path(); }
    QString file; // what the file dialogs answer

    void ShowMessage(const QString&) override {}
    bool Confirm(const QString&, bool, bool) override { return true; }
    SaveChoice AskSave(const QString&) override { return SaveChoice::Discard; }
    QString OpenFileName(const QString&, const QString&, const QString&) override { return file; }
    QString SaveFileName(const QString&, const QString&, const QString&) override { return file; }

private:
    IDialogs* previous_;
    QTemporaryDir dir_;
};

// Ticks every millisecond on the main thread's event loop once started and keeps the longest
// time the loop went without a tick beyond that millisecond: how long the window did not answer.
// Runs the Python loop `script` (written to `folder`) as python3 script PORT LINES-FILE, the
// lines written one per line: what it printed, or nothing when it failed.
std::optional<QString> RunPythonLoop(const char* script, const QString& port, const QStringList& lines,
                                     const QString& folder);

class TStallProbe {
public:
    explicit TStallProbe(std::function<void()> onTick = {});
    void Start();
    double LongestMs() const { return longest_; }

private:
    QTimer timer_;
    QElapsedTimer sinceTick_;
    double longest_ = 0;
    std::function<void()> onTick_;
};
