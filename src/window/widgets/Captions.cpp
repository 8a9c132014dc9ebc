#include "Captions.h"

#include "Mnemonics.h"
#include "Panel.h"
#include "RadioGroup.h"
#include "StringGrid.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QWidget>

bool SetControlCaption(QWidget* window, const QString& objectName, int item, const QString& text) {
    if (objectName == window->objectName()) {
        window->setWindowTitle(text);
        return true;
    }
    QObject* control = window->findChild<QObject*>(objectName);
    if (!control)
        return false;
    if (auto* group = qobject_cast<TRadioGroup*>(control)) {
        if (item < 0)
            group->setTitle(text);
        else
            group->SetItem(item, text);
    } else if (auto* grid = qobject_cast<TStringGrid*>(control)) {
        grid->SetCell(std::max(item, 0), 0, text);
    } else if (auto* menu = qobject_cast<QMenu*>(control)) {
        menu->setTitle(text);
    } else if (auto* action = qobject_cast<QAction*>(control)) {
        action->setText(text);
    } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
        box->setTitle(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    } else if (auto* panel = qobject_cast<TPanel*>(control)) {
        panel->SetCaption(text);
    } else if (auto* widget = qobject_cast<QWidget*>(control); widget && widget->isWindow()) {
        widget->setWindowTitle(text);
    } else {
        return false;
    }
    return true;
}

QString ControlCaption(QWidget* window, const QString& objectName, int item) {
    if (objectName == window->objectName())
        return window->windowTitle();
    QObject* control = window->findChild<QObject*>(objectName);
    if (auto* group = qobject_cast<TRadioGroup*>(control))
        return item < 0 ? group->title() : group->Item(item);
    if (auto* grid = qobject_cast<TStringGrid*>(control))
        return grid->Cell(std::max(item, 0), 0);
    // Menus as the operator reads them, without their mnemonic marks.
    if (auto* menu = qobject_cast<QMenu*>(control))
        return Mnemonics::Bare(menu->title());
    if (auto* action = qobject_cast<QAction*>(control))
        return Mnemonics::Bare(action->text());
    if (auto* box = qobject_cast<QGroupBox*>(control))
        return box->title();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* panel = qobject_cast<TPanel*>(control))
        return panel->Caption();
    return {};
}
