#include "SpinEdit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

TSpinEdit::TSpinEdit(const QString& objectName, int minimum, int maximum, int value, QWidget* parent)
    : QWidget(parent), minimum_(minimum), maximum_(maximum), edit_(new QLineEdit(this)) {
    setObjectName(objectName);
    edit_->setObjectName(objectName + "Text");
    setFocusProxy(edit_);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(edit_, 1);
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    for (const auto& [arrow, by] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(16, 11);
        connect(button, &QToolButton::clicked, this, [this, by = by] { Step(by); });
        arrows->addWidget(button);
    }
    row->addLayout(arrows);
    setValue(value);
    connect(edit_, &QLineEdit::textChanged, this, [this] { emit valueChanged(this->value()); });
}

int TSpinEdit::value() const {
    bool number = false;
    const qlonglong typed = edit_->text().trimmed().toLongLong(&number);
    if (!number)
        return minimum_;
    return int(std::clamp<qlonglong>(typed, INT_MIN, INT_MAX));
}

void TSpinEdit::setValue(int value) {
    edit_->setText(QString::number(value));
}

QString TSpinEdit::text() const {
    return edit_->text();
}

void TSpinEdit::Step(int by) {
    setValue(std::clamp(value() + by, minimum_, maximum_));
}

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
        Step(event->key() == Qt::Key_Up ? 1 : -1);
    else
        QWidget::keyPressEvent(event);
}
