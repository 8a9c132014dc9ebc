#pragma once

#include "lang/CaptionTarget.h"

#include <QDialog>

#include <span>

class TSession;

// What the program's dialogs share: a dialog over the session (never over the main window),
// released when closed, whose captions come from the dialog texts of the language in use. A
// dialog's own constructor builds its controls and ends with FormCreate, which applies the
// language and then fills the controls from the session (Fill). What the main window must do
// afterwards reaches it by the dialog's signals.
class TLangDialog : public QDialog, public ICaptionTarget {
    Q_OBJECT
public:
    TLangDialog(TSession& session, QWidget* parent, const char* objectName, const QString& title,
                std::span<const TCaptionSlot> captionSlots, int highestEntry);

    // ApplyLanguage, then Fill.
    void FormCreate();
    // Loads the dialog texts and sets each slot's caption; a file that can't be read is named in
    // a message box.
    void ApplyLanguage();
    void SetCaption(const QString& objectName, int item, const QString& text) override;

protected:
    TSession& Session() const { return session_; }
    // Shows the session's values in the controls.
    virtual void Fill() {}

private:
    TSession& session_;
    std::span<const TCaptionSlot> slots_;
    int highestEntry_;
};

// Shows each text in a message box, in order.
void ShowMessages(const QStringList& texts);
