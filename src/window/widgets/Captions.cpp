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

namespace {
// The property that holds a control's caption: the title of a menu or a group box, the text of
// an action, a button or a label; none for anything else.
const char* CaptionProperty(const QObject& control) {
    if (qobject_cast<const QMenu*>(&control) || qobject_cast<const QGroupBox*>(&control))
        return "title";
    if (qobject_cast<const QAction*>(&control) || qobject_cast<const QAbstractButton*>(&control) ||
        qobject_cast<const QLabel*>(&control))
        return "text";
    return nullptr;
}
} // namespace

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
    } else if (const char* property = CaptionProperty(*control)) {
        control->setProperty(property, text); // a menu's or a group box's title, a button's text...
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
    if (const char* property = CaptionProperty(*control)) {
        const QString caption = control->property(property).toString();
        const bool menu = qobject_cast<QMenu*>(control) || qobject_cast<QAction*>(control);
        return menu ? Mnemonics::Bare(caption) : caption;
    }
    if (auto* panel = qobject_cast<TPanel*>(control))
        return panel->Caption();
    return {};
}
