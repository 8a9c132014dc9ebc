#include "ResumeControls.h"

#include "core/Dialogs.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "session/ProgramDocument.h"
#include "session/ResumeSending.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QPushButton>

TResumeControls::TResumeControls(const TRooms& rooms, QMenu* control, TStringGrid* grid, QWidget* statusPanel,
                                 QWidget* window)
    : QObject(window), rooms_(rooms), grid_(grid) {
    // After the menu's first entry (the Stop key), before the coordinates' own.
    QAction* before = control->actions().value(1);
    mmResume = new QAction(control);
    mmResume->setObjectName("mmResume");
    mmResume->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F5));
    mmSendFromRow = new QAction(control);
    mmSendFromRow->setObjectName("mmSendFromRow");
    mmSendFromRow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F5));
    control->insertActions(before, {mmResume, mmSendFromRow});
    // Window-wide, as the menu's other keys: the actions must be in the window to be heard.
    window->addAction(mmResume);
    window->addAction(mmSendFromRow);
    btnResume = new QPushButton(statusPanel);
    btnResume->setObjectName("btnResume");
    btnResume->setVisible(false);
    if (statusPanel->layout())
        statusPanel->layout()->addWidget(btnResume);
    connect(mmResume, &QAction::triggered, this, &TResumeControls::Resume);
    connect(btnResume, &QPushButton::clicked, this, &TResumeControls::Resume);
    connect(mmSendFromRow, &QAction::triggered, this, &TResumeControls::SendFromRow);
    connect(&rooms_.resume, &TResumeSending::ResumableChanged, this, &TResumeControls::Follow);
    ApplyTexts();
}

void TResumeControls::ApplyTexts() {
    mmResume->setText(rooms_.lang.ExtraText(Ext::ResumeAction));
    mmSendFromRow->setText(rooms_.lang.ExtraText(Ext::SendFromRowAction));
    btnResume->setText(rooms_.lang.ExtraText(Ext::ResumeAction));
    Follow();
}

void TResumeControls::Follow() {
    const auto point = rooms_.resume.Resumable();
    btnResume->setVisible(point.has_value());
    if (point)
        btnResume->setToolTip(rooms_.lang.ExtraText(Ext::ResumableAt)
                                  .arg(point->from + 1)
                                  .arg(mmResume->shortcut().toString(QKeySequence::NativeText)));
}

void TResumeControls::AskAndSend(const TResumePoint& point, int asked) {
    if (!Dialogs().Confirm(rooms_.resume.Question(point, asked), false))
        return;
    rooms_.resume.Send(point, rooms_.document.File());
    Follow();
}

void TResumeControls::Resume() {
    const auto point = rooms_.resume.Resumable();
    if (!point) {
        Dialogs().ShowError(rooms_.lang.ExtraText(Ext::NothingToResume));
        return;
    }
    AskAndSend(*point, rooms_.resume.FirstUnanswered());
}

void TResumeControls::SendFromRow() {
    const int row = grid_->Row() - 1; // the grid counts its rows from 1, 0 when none is selected
    const TResumePoint point = rooms_.resume.FromRow(row);
    if (point.count == 0) {
        Dialogs().ShowError(rooms_.lang.ExtraText(Ext::NoRowSelected));
        return;
    }
    AskAndSend(point, row);
}
