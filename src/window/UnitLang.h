#pragma once

#include "lang/CaptionTarget.h"

#include <QDialog>

class QComboBox;
class QLabel;
class TForm1;

// The language dialog: the languages listed in lang/lang.lng, from which the operator picks the
// language of the whole interface; a choice, once confirmed, switches the main window, the
// messages and the command table at once. One is created hidden at start-up, so that a missing
// or damaged dialog-text file or language list is reported at once; the menu entry "Language"
// opens a new one each time (modal), released when closed.
class TFormLang : public QDialog, public ICaptionTarget {
    Q_OBJECT
public:
    explicit TFormLang(TForm1& form, QWidget* parent = nullptr);
    ~TFormLang() override;

    void FormCreate();
    void ApplyLanguage();
    // The operator chose item `index` of the list.
    void ComboBoxLangClick(int index);
    void SetCaption(const QString& objectName, int item, const QString& text) override;

    QLabel* lbl1;
    QComboBox* ComboBoxLang;

private:
    TForm1& form_;
};
