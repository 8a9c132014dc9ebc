#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;
class TChannels;

// "Текущие координаты": the channel selection by three check boxes, behind the hidden menu entry
// "Coordinates". Modeless, at most once; takes no language texts.
class TFormCoord : public QDialog {
    Q_OBJECT
public:
    TFormCoord(TChannels& channels, QWidget* parent);

    void btnOkClick();

    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QPushButton* btnOk;

private:
    TChannels& channels_;
};
