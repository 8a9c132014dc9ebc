#pragma once

#include "core/Dialogs.h"

// The program's dialogs: modal boxes over the active window, titled with the program name.
class TQtDialogs : public IDialogs {
public:
    void ShowMessage(const QString& text) override;
    bool Confirm(const QString& text) override;
    QString OpenFileName(const QString& folder, const QString& fileName) override;
    QString SaveFileName(const QString& folder, const QString& fileName) override;
};
