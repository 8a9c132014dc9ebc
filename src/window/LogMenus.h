#pragma once

#include <QObject>

class QAction;
class TLang;
class TLogView;
class TReplyList;
class TSessionLogs;

// The context menus of the operation log and of the reply list: "Save log as..." (the whole
// session, red lines marked "! ") and "Clear log", which empties the view only: the session
// keeps every line for work.log, port.log and a later "Save log as...".
class TLogMenus : public QObject {
    Q_OBJECT
public:
    TLogMenus(TLogView* operationLog, TReplyList* replies, TSessionLogs& logs, const TLang& lang,
              QObject* parent = nullptr);
    // The items' texts in the language in use.
    void ApplyTexts();

    QAction *pmSaveLog, *pmClearLog, *pmSaveReplies, *pmClearReplies;

private:
    // "Save log as...": the reply list when `replies`, else the operation log.
    void SaveAs(bool replies);
    TSessionLogs& logs_;
    const TLang& lang_;
};
