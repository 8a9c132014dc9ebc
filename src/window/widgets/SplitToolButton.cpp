#include "SplitToolButton.h"

#include <QAccessibleWidget>
#include <QMenu>

namespace {

class TSplitButtonAccessible : public QAccessibleWidget {
public:
    explicit TSplitButtonAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::PushButton) {}

    QString text(QAccessible::Text t) const override {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = Button()->text().remove('&');
        return text;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.hasPopup = true;
        s.pressed = Button()->isDown();
        return s;
    }
    QStringList actionNames() const override {
        if (!widget()->isEnabled())
            return {};
        return {pressAction(), showMenuAction()};
    }
    void doAction(const QString& action) override {
        if (!widget()->isEnabled())
            return;
        if (action == pressAction())
            Button()->click();
        else if (action == showMenuAction()) // the menu runs its own loop: not inside this call
            QMetaObject::invokeMethod(Button(), &QToolButton::showMenu, Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QToolButton* Button() const { return static_cast<QToolButton*>(widget()); }
};

QAccessibleInterface* SplitButtonFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("TSplitToolButton") && object && object->isWidgetType())
        return new TSplitButtonAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

TSplitToolButton::TSplitToolButton(QWidget* parent) : QToolButton(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(SplitButtonFactory);
        return true;
    }();
    (void)installed;
}
