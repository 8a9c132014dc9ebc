#pragma once

#include <QString>

class QWidget;

// Every message box, confirmation and file dialog of the program goes through this interface.
// The program installs the Qt implementation; tests install a scripted one that records each
// prompt and answers it, so that no test ever blocks on a modal window.
class IDialogs {
public:
    virtual ~IDialogs() = default;

    // A message box with an OK button.
    virtual void ShowMessage(const QString& text) = 0;
    // A confirmation with OK and Cancel; true for OK.
    virtual bool Confirm(const QString& text) = 0;
    // A file to open: the chosen full path, or empty when the operator cancels.
    virtual QString OpenFileName(const QString& folder, const QString& fileName) = 0;
    // A file to save to: the chosen full path, or empty when the operator cancels. The dialog
    // asks before overwriting an existing file.
    virtual QString SaveFileName(const QString& folder, const QString& fileName) = 0;
};

// The dialogs in use. Before anything is installed, the Qt implementation.
IDialogs& Dialogs();
// Installs `dialogs` (not owned) and returns the previous one; nullptr restores the Qt dialogs.
IDialogs* SetDialogs(IDialogs* dialogs);

// The Qt implementation: modal boxes over the active window, titled with the program name.
class TQtDialogs : public IDialogs {
public:
    void ShowMessage(const QString& text) override;
    bool Confirm(const QString& text) override;
    QString OpenFileName(const QString& folder, const QString& fileName) override;
    QString SaveFileName(const QString& folder, const QString& fileName) override;
};
