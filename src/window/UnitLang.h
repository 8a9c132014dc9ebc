#pragma once

#include "TranslatedDialog.h"

class QComboBox;
class QLabel;

// The language dialog: the languages listed in lang/lang.lng, from which the operator picks the
// language of the whole interface; a choice, once confirmed, switches the messages and the
// command table (through the session) and tells the main window (LanguageChanged), which takes
// its own captions. One is created hidden at start-up, so that a missing or damaged dialog-text
// file or language list is reported at once; the menu entry "Language" opens a new one each
// time (modal), released when closed.
class TFormLang : public TTranslatedDialog {
    Q_OBJECT
public:
    explicit TFormLang(TOperatorSettings& options, QWidget* parent = nullptr);

    // The operator chose item `index` of the list.
    void ComboBoxLangClick(int index);
    void SetCaption(const QString& objectName, int item, const QString& text) override;

    QLabel* lbl1;
    QComboBox* ComboBoxLang;

protected:
    void Fill() override;

signals:
    // The session switched to another language: the main window takes its captions.
    void LanguageChanged();
};
