#include "RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

TRadioGroup::TRadioGroup(const QString& objectName, const QString& title, const QStringList& items,
                         int columns, QWidget* parent)
    : QGroupBox(title, parent), group_(new QButtonGroup(this)), grid_(new QGridLayout(this)) {
    setObjectName(objectName);
    grid_->setContentsMargins(6, 2, 6, 2);
    grid_->setVerticalSpacing(1);
    const int perColumn = (int(items.size()) + columns - 1) / std::max(columns, 1);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setObjectName(objectName + "Item" + QString::number(i));
        group_->addButton(button, i);
        grid_->addWidget(button, i % std::max(perColumn, 1), i / std::max(perColumn, 1));
    }
    connect(group_, &QButtonGroup::idClicked, this, [this](int) { emit Clicked(); });
}

int TRadioGroup::ItemIndex() const {
    return group_->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    if (QAbstractButton* button = group_->button(index)) {
        button->setChecked(true);
        return;
    }
    // No item: clear the selection, which an exclusive group does not allow directly.
    if (QAbstractButton* checked = group_->checkedButton()) {
        group_->setExclusive(false);
        checked->setChecked(false);
        group_->setExclusive(true);
    }
}

int TRadioGroup::Count() const {
    return int(group_->buttons().size());
}

QString TRadioGroup::Item(int index) const {
    QAbstractButton* button = group_->button(index);
    return button ? button->text() : QString();
}

void TRadioGroup::SetItem(int index, const QString& text) {
    if (QAbstractButton* button = group_->button(index))
        button->setText(text);
}

QRadioButton* TRadioGroup::Button(int index) const {
    return qobject_cast<QRadioButton*>(group_->button(index));
}

void TRadioGroup::Click(int index) {
    if (QAbstractButton* button = group_->button(index))
        button->click();
}
