// The main window's logs: "Save log as..." and "Clear log" on the context menus of the operation
// log and of the reply list. A clear empties the view only: the session keeps every line for
// work.log, port.log and a later "Save log as...".
#include "Unit1.h"
#include "core/AppError.h"
#include "core/Dialogs.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "panels/ExtendedPanel.h"
#include "session/Session.h"
#include "widgets/LineList.h"
#include "widgets/LogView.h"

#include <QAction>
#include <QDateTime>

namespace {
QAction* ContextItem(QWidget* owner, const char* name) {
    auto* action = new QAction(owner);
    action->setObjectName(name);
    owner->addAction(action);
    owner->setContextMenuPolicy(Qt::ActionsContextMenu);
    return action;
}
} // namespace

void TForm1::ConnectLogMenus() {
    pmSaveLog = ContextItem(MemoLog, "pmSaveLog");
    pmClearLog = ContextItem(MemoLog, "pmClearLog");
    TReplyList* replies = ExtendedPanel->lbBufRead;
    pmSaveReplies = ContextItem(replies, "pmSaveReplies");
    pmClearReplies = ContextItem(replies, "pmClearReplies");
    connect(pmSaveLog, &QAction::triggered, this, [this] { SaveLogAs(false); });
    connect(pmSaveReplies, &QAction::triggered, this, [this] { SaveLogAs(true); });
    connect(pmClearLog, &QAction::triggered, MemoLog, &TLogView::Clear);
    connect(pmClearReplies, &QAction::triggered, replies, &TReplyList::ClearShown);
}

void TForm1::ApplyLogMenuTexts() {
    const TLang& lang = Session().Lang();
    for (QAction* save : {pmSaveLog, pmSaveReplies})
        save->setText(lang.ExtraText(Ext::SaveLogAs));
    for (QAction* clear : {pmClearLog, pmClearReplies})
        clear->setText(lang.ExtraText(Ext::ClearLog));
}

void TForm1::SaveLogAs(bool replies) {
    // Named by the time, so that no earlier one is replaced, and not as the session's own
    // copies are, which are removed when they grow old.
    const QString stamp = QDateTime::currentDateTime().toString("yyyy-MM-dd_HH-mm-ss");
    const QString proposed = (replies ? "port-replies_" : "operation-log_") + stamp + ".txt";
    const QString fileName = Dialogs().SaveFileName(Session().Paths.LogFolder(), proposed);
    if (fileName.isEmpty())
        return;
    try {
        if (replies)
            Session().SaveReplyLogAs(fileName);
        else
            Session().SaveOperationLogAs(fileName);
    } catch (const EFileError& error) {
        ReportError(error);
    }
}
