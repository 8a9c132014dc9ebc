#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

// A titled group of radio buttons in columns, with one selected item index (-1 for none).
// Clicked is emitted when the operator selects an item; SetItemIndex changes it silently.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& objectName, const QString& title, const QStringList& items, int columns,
                QWidget* parent = nullptr);

    int ItemIndex() const;
    void SetItemIndex(int index);
    int Count() const;
    QString Item(int index) const;
    void SetItem(int index, const QString& text);
    QRadioButton* Button(int index) const;

    // Selects `index` as if the operator had clicked it (for keyboard-free tests and callers).
    void Click(int index);

signals:
    void Clicked();

private:
    QButtonGroup* group_;
    QGridLayout* grid_;
};
