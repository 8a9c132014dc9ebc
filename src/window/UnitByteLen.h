#pragma once

#include "lang/CaptionTarget.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class TForm1;
class TRadioGroup;

// "Port settings": data bits, stop bits, parity and baud rate of the open port, each passed to the
// port on OK, which applies them at once. It does not block the main window; it exists at most
// once and releases itself when closed.
class TFormByteLen : public QDialog, public ICaptionTarget {
    Q_OBJECT
public:
    explicit TFormByteLen(TForm1& form);
    ~TFormByteLen() override;

    void FormCreate();
    void ApplyLanguage();
    void btnOKClick();
    void btnCancelClick();

    void SetCaption(const QString& objectName, int item, const QString& text) override;

    TRadioGroup* rgrDataLen;
    TRadioGroup* rgrStopBits;
    TRadioGroup* rgrParity;
    QLabel* lblBaudRate;
    QComboBox* cbPortSpeed;
    QPushButton* btnOK;
    QPushButton* btnCancel;

private:
    TForm1& form_;
};
