#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

// Small helpers of the windows' designs: each control is made with its objectName, which the
// language files, the tests and accessibility tools address it by.
namespace Design {

template <typename T> T* Named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

// `layout` with `margin` on every side and `spacing` between its items.
template <typename L> L* Spaced(L* layout, int margin, int spacing) {
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(spacing);
    return layout;
}

inline QPushButton* Button(const char* name, const QString& caption, QWidget* parent) {
    return Named(new QPushButton(caption, parent), name);
}

inline QLabel* Label(const char* name, const QString& caption, QWidget* parent) {
    auto* label = Named(new QLabel(caption, parent), name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

inline QLineEdit* Edit(const char* name, const QString& text, int maxLength, QWidget* parent) {
    auto* edit = Named(new QLineEdit(text, parent), name);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

// Wide enough for `sample` in an edit's font, with the frame around it.
inline int EditWidthFor(const char* sample) {
    QLineEdit probe;
    return probe.fontMetrics().horizontalAdvance(sample) + 14;
}

// A tool button (`button`, when given, is one of a kind of its own, already made).
inline QToolButton* Tool(const char* name, const QString& caption, QWidget* parent,
                         QToolButton* button = nullptr) {
    button = Named(button ? button : new QToolButton(parent), name);
    button->setText(caption);
    button->setMinimumWidth(std::max(30, button->sizeHint().width()));
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return button;
}

// Enables or disables a widget and every control placed directly on it.
inline void EnableWithChildren(QWidget* panel, bool on) {
    panel->setEnabled(on);
    for (QWidget* child : panel->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        child->setEnabled(on);
}

// A framed panel that groups controls.
inline QFrame* Frame(const char* name, QWidget* parent) {
    auto* frame = Named(new QFrame(parent), name);
    frame->setFrameShape(QFrame::StyledPanel);
    return frame;
}

} // namespace Design
