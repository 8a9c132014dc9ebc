#include "LogMenus.h"

#include "core/AppError.h"
#include "core/Dialogs.h"
#include "core/ProgramPaths.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "session/SessionLogs.h"
#include "widgets/LineList.h"
#include "widgets/LogView.h"

#include <QAction>
#include <QDateTime>
#include <QFileInfo>

namespace {
QAction* ContextItem(QWidget* owner, const char* name) {
    auto* action = new QAction(owner);
    action->setObjectName(name);
    owner->addAction(action);
    owner->setContextMenuPolicy(Qt::ActionsContextMenu);
    return action;
}
} // namespace

TLogMenus::TLogMenus(TLogView* operationLog, TReplyList* replies, TSessionLogs& logs, const TLang& lang,
                     QObject* parent)
    : QObject(parent), logs_(logs), lang_(lang) {
    pmSaveLog = ContextItem(operationLog, "pmSaveLog");
    pmClearLog = ContextItem(operationLog, "pmClearLog");
    pmSaveReplies = ContextItem(replies, "pmSaveReplies");
    pmClearReplies = ContextItem(replies, "pmClearReplies");
    connect(pmSaveLog, &QAction::triggered, this, [this] { SaveAs(false); });
    connect(pmSaveReplies, &QAction::triggered, this, [this] { SaveAs(true); });
    connect(pmClearLog, &QAction::triggered, operationLog, &TLogView::Clear);
    connect(pmClearReplies, &QAction::triggered, replies, &TReplyList::ClearShown);
}

void TLogMenus::ApplyTexts() {
    for (QAction* save : {pmSaveLog, pmSaveReplies})
        save->setText(lang_.ExtraText(Ext::SaveLogAs));
    for (QAction* clear : {pmClearLog, pmClearReplies})
        clear->setText(lang_.ExtraText(Ext::ClearLog));
}

void TLogMenus::SaveAs(bool replies) {
    // Named by the time, so that no earlier one is replaced, and not as the session's own
    // copies are, which are removed when they grow old.
    const QString stamp = QDateTime::currentDateTime().toString("yyyy-MM-dd_HH-mm-ss");
    const QString proposed = (replies ? "port-replies_" : "operation-log_") + stamp + ".txt";
    const QString fileName =
        Dialogs().SaveFileName(logs_.Folder(), proposed, lang_.ExtraText(Ext::DialogTitleSaveLog));
    if (fileName.isEmpty())
        return;
    const QString notRegular = lang_.ExtraText(Ext::NotARegularFile);
    try {
        if (replies)
            logs_.SaveReplyLogAs(fileName, notRegular);
        else
            logs_.SaveOperationLogAs(fileName, notRegular);
    } catch (const EFileError& error) {
        ReportError(error);
    }
}
