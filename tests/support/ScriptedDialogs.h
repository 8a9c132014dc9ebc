#pragma once

#include "core/Dialogs.h"

#include <QStringList>

#include <deque>
#include <functional>

// Dialogs for tests: every prompt is recorded, confirmations and file dialogs are answered from
// a script, and nothing ever blocks. Installed for the lifetime of the object.
class ScriptedDialogs : public IDialogs {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    void ShowMessage(const QString& text) override;
    void ShowError(const QString& text) override;
    bool Confirm(const QString& text, bool defaultAnswer = false, bool yesWhenEnding = false) override;
    SaveChoice AskSave(const QString& text) override;
    QString OpenFileName(const QString& folder, const QString& fileName, const QString& title = {}) override;
    QString SaveFileName(const QString& folder, const QString& fileName, const QString& title = {}) override;

    QStringList messages;                          // every message box, in order
    QStringList errors;                            // those of them that carry the warning icon
    QStringList confirmations;                     // every confirmation asked
    QStringList fileDialogs;                       // "open <folder>|<name>" or "save <folder>|<name>"
    std::deque<bool> confirmAnswers;               // default: the box's default button
    QStringList fileDialogTitles;                  // every file dialog's title, in order
    std::deque<QString> fileAnswers;               // default: cancel (empty)
    QStringList saveQuestions;                     // every Save / Discard / Cancel question
    std::deque<SaveChoice> saveAnswers;            // default: Cancel, the box's default button
    std::function<void(const QString&)> onMessage; // runs inside a message box, if set

private:
    QString NextFile(const QString& kind, const QString& folder, const QString& fileName);
    IDialogs* previous_;
};
