#pragma once

#include "lang/CaptionTarget.h"

#include <QDialog>

#include <span>

class TLang;
class TOperatorSettings;

// What makes a dialog of the program: its name, its design-time title, the slots of its captions
// among the language's dialog texts (up to the highest entry it reads), and whether it is modal.
struct TDialogTexts {
    const char* objectName;
    const char* title;
    std::span<const TCaptionSlot> captionSlots;
    int highestEntry = 0;
    bool modal = true;
};

// What the program's dialogs share: a dialog whose captions come from the dialog texts of the
// language in use, released when closed, standing on the room of the session it works with
// (never on the main window). A dialog's own constructor builds its controls and ends with
// FormCreate, which applies the language and then fills the controls (Fill). What the main
// window must do afterwards reaches it by the dialog's signals.
class TTranslatedDialog : public QDialog, public ICaptionTarget {
    Q_OBJECT
public:
    TTranslatedDialog(TOperatorSettings& options, const TDialogTexts& texts, QWidget* parent);

    // ApplyLanguage, then Fill.
    void FormCreate();
    // Loads the dialog texts and sets each slot's caption; a file that can't be read is named in
    // a message box.
    void ApplyLanguage();
    void SetCaption(const QString& objectName, int item, const QString& text) override;

protected:
    // The operator's settings and language.
    TOperatorSettings& Options() const { return options_; }
    const TLang& Lang() const;
    // Shows the room's values in the controls.
    virtual void Fill() {}

private:
    TOperatorSettings& options_;
    std::span<const TCaptionSlot> slots_;
    int highestEntry_;
};

// Shows each text in a message box, in order.
void ShowMessages(const QStringList& texts);
