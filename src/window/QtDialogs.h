#pragma once

#include "core/Dialogs.h"

// The program's dialogs: modal boxes over the active window, titled with the program name. When
// the program is asked to end (Terminate), the boxes standing are closed, each question is
// answered with its default (unsaved work is discarded), and no box opens any more: no box holds an ending
// program back.
class TQtDialogs : public IDialogs {
public:
    void Terminate();
    bool Terminating() const { return terminating_; }

    void ShowMessage(const QString& text) override;
    void ShowError(const QString& text) override;
    bool Confirm(const QString& text, bool defaultAnswer = false, bool yesWhenEnding = false) override;
    SaveChoice AskSave(const QString& text) override;
    QString OpenFileName(const QString& folder, const QString& fileName, const QString& title = {}) override;
    QString SaveFileName(const QString& folder, const QString& fileName, const QString& title = {}) override;

private:
    bool terminating_ = false;
};
