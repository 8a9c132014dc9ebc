#pragma once

#include "TranslatedDialog.h"

class QComboBox;
class QLabel;
class QPushButton;
class TConnection;
class TRadioGroup;

// "Port settings": data bits, stop bits, parity and baud rate of the open port, each passed to the
// port on OK, which applies them at once. It does not block the main window; it exists at most
// once and releases itself when closed.
class TFormByteLen : public TTranslatedDialog {
    Q_OBJECT
public:
    TFormByteLen(TOperatorSettings& options, TConnection& connection, QWidget* parent);

    void btnOKClick();
    void btnCancelClick();

    TRadioGroup* rgrDataLen;
    TRadioGroup* rgrStopBits;
    TRadioGroup* rgrParity;
    QLabel* lblBaudRate;
    QComboBox* cbPortSpeed;
    QPushButton* btnOK;
    QPushButton* btnCancel;

signals:
    // OK applied the line settings (the status line shows them).
    void LineSettingsApplied();

protected:
    void Fill() override;

private:
    TConnection& connection_;
};
