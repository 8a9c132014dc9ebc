#pragma once

#include "lang/CaptionTarget.h"

#include <QDialog>

class QComboBox;
class QLabel;
class TLang;

// The language dialog: the languages listed in lang/lang.lng, from which the operator picks the
// language of the whole interface. One is created hidden at start-up, so that a missing or
// damaged dialog-text file or language list is reported at once.
class TFormLang : public QDialog, public ICaptionTarget {
    Q_OBJECT
public:
    explicit TFormLang(TLang& lang, QWidget* parent = nullptr);

    void FormCreate();
    void ApplyLanguage();
    void SetCaption(const QString& objectName, int item, const QString& text) override;

    QLabel* lbl1;
    QComboBox* ComboBoxLang;

private:
    TLang& lang_;
};
