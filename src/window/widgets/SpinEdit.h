#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// A spin edit as the described dialogs have it: any text may be typed, and the arrows (or the Up
// and Down keys) step the number within the range. value() is the whole number typed, whatever
// its size (the dialog decides what a number out of the range means), or the minimum when the
// text is no whole number.
class TSpinEdit : public QWidget {
    Q_OBJECT
public:
    TSpinEdit(const QString& objectName, int minimum, int maximum, int value, QWidget* parent = nullptr);

    int value() const;
    void setValue(int value);
    QString text() const;
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }

signals:
    // The text changed, typed or stepped.
    void valueChanged(int value);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Step(int by);
    int minimum_, maximum_;
    QLineEdit* edit_;
};
