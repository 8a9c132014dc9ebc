#pragma once

#include <QString>

// Every message box, confirmation and file dialog of the program goes through this interface.
// The program installs the Qt implementation (window/QtDialogs.h) at start; tests install a
// scripted one that records each prompt and answers it, so that no test ever blocks on a modal
// window.
class IDialogs {
public:
    virtual ~IDialogs() = default;

    // A message box with an OK button.
    virtual void ShowMessage(const QString& text) = 0;
    // The same for a refusal or a failure: the box carries the warning icon.
    virtual void ShowError(const QString& text) { ShowMessage(text); }
    // A confirmation with OK and Cancel; true for OK. `defaultAnswer` is the button Enter presses
    // (Cancel for every question whose OK writes or loses something) and the answer given when
    // the program is asked to end while the question stands, unless `yesWhenEnding` makes that
    // OK (the questions of the close: an ending program must not wait for a person).
    virtual bool Confirm(const QString& text, bool defaultAnswer = false, bool yesWhenEnding = false) = 0;
    // The question before unsaved work would be lost: Save, Discard or Cancel (the default).
    enum class SaveChoice { Save, Discard, Cancel };
    virtual SaveChoice AskSave(const QString& text) = 0;
    // A file to open: the chosen full path, or empty when the operator cancels.
    virtual QString OpenFileName(const QString& folder, const QString& fileName,
                                 const QString& title = {}) = 0;
    // A file to save to: the chosen full path, or empty when the operator cancels. The dialog
    // asks before overwriting an existing file.
    virtual QString SaveFileName(const QString& folder, const QString& fileName,
                                 const QString& title = {}) = 0;
};

// The dialogs in use. Before anything is installed, a stand-in that writes each message to the
// standard error stream and answers every question with Cancel.
IDialogs& Dialogs();
// Installs `dialogs` (not owned) and returns the previous one; nullptr restores the stand-in.
IDialogs* SetDialogs(IDialogs* dialogs);
