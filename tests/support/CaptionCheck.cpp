#include "CaptionCheck.h"

#include "Wait.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QWidget>

namespace {
bool Shown(QWidget* widget, QWidget* window) {
    return widget->isVisibleTo(window);
}
} // namespace

QStringList ClippedCaptions(QWidget* window) {
    QStringList clipped;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!Shown(label, window) || label->text().isEmpty())
            continue;
        const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                            : label->sizeHint().width() <= label->width();
        if (!fits)
            clipped.append(label->objectName() + " \"" + label->text() + "\"");
    }
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (!Shown(button, window) || button->text().isEmpty())
            continue;
        if (button->sizeHint().width() > button->width())
            clipped.append(button->objectName() + " \"" + button->text() + "\"");
    }
    for (QGroupBox* box : window->findChildren<QGroupBox*>()) {
        if (!Shown(box, window) || box->title().isEmpty())
            continue;
        const int needed = box->fontMetrics().horizontalAdvance(box->title()) + 16;
        if (needed > box->width())
            clipped.append(box->objectName() + " \"" + box->title() + "\"");
    }
    return clipped;
}

void SaveScreenshot(QWidget* window, const QString& name) {
    const QString folder = qEnvironmentVariable("KVT_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    window->grab().save(folder + "/" + name + ".png");
}

void ExpectNoCaptionClipped(QWidget* window, const QString& name) {
    window->show();
    RunEventsFor(30);
    const QStringList clipped = ClippedCaptions(window);
    EXPECT_TRUE(clipped.isEmpty()) << name.toStdString() << ": " << clipped.join(", ").toStdString();
    SaveScreenshot(window, name);
}
