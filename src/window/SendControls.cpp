#include "SendControls.h"

#include "core/Dialogs.h"
#include "editor/CommandList.h"
#include "panels/ExtendedPanel.h"
#include "preview/SendQuestions.h"
#include "session/OperatorSettings.h"
#include "session/ProgramDocument.h"
#include "session/ProgramEditor.h"
#include "session/controller/Sending.h"
#include "widgets/LineList.h"
#include "widgets/SendingProgress.h"
#include "widgets/StringGrid.h"

#include <QPushButton>
#include <QShortcut>

TSendControls::TSendControls(const TRooms& rooms, TExtendedPanel* panel, TSendingProgress* progress,
                             QWidget* beside, QWidget* window)
    : QObject(window), rooms_(rooms), panel_(panel) {
    TSending& sending = rooms_.sending;
    connect(panel->btnRunTR, &QPushButton::clicked, this, &TSendControls::Send);
    // F5 where the button can be pressed (a button's own shortcut would be replaced by the
    // mnemonic of each new caption).
    auto* send = new QShortcut(QKeySequence(Qt::Key_F5), window);
    send->setObjectName("SendShortcut");
    connect(send, &QShortcut::activated, this, [panel] {
        if (panel->btnRunTR->isVisible() && panel->btnRunTR->isEnabled())
            panel->btnRunTR->click();
    });
    connect(panel->btnStopSending, &QPushButton::clicked, &sending, &TSending::StopAfterLine);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setObjectName("StopSendingShortcut");
    connect(escape, &QShortcut::activated, &sending, &TSending::StopAfterLine);
    connect(&sending, &TSending::Started, this, [panel] {
        panel->MemoRead->Clear();
        panel->btnStopSending->setEnabled(true);
    });
    connect(&sending, &TSending::Ended, this,
            [panel, &sending] { panel->btnStopSending->setEnabled(sending.IsSending()); });
    const TCommandList* list = &rooms_.editor.List();
    // The line on its way is shown in the list only when the list is what is sent.
    progress->Follow(sending, rooms_.options.Lang(), beside, [panel, list, &sending](int line) {
        const bool theList = sending.SendingKind() != TSending::Kind::OwnLines;
        panel->StringGridSend->SetSendingRow(theList && line <= list->Count() ? line : 0);
    });
}

void TSendControls::Send() {
    // A second press while a list is on its way does nothing.
    if (rooms_.sending.IsSending())
        return;
    // The question that guards a motion; a list that ends inside LD ... ED is sent at once, and
    // said in the log after it.
    const QStringList lines = rooms_.editor.List().Lines();
    const QString travel = SendQuestions::Travel(lines, rooms_.options.Settings(), rooms_.options.Lang());
    if (!travel.isEmpty() && !Dialogs().Confirm(travel, false))
        return;
    rooms_.sending.Send(lines, TSending::Kind::WholeList, {rooms_.document.File(), 0});
}
