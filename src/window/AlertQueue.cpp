#include "AlertQueue.h"

#include "core/Dialogs.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"

#include <QTimer>

TAlertQueue::TAlertQueue(const TLang& lang, QObject* parent) : QObject(parent), lang_(lang) {}

void TAlertQueue::Add(const QString& text) {
    for (TEntry& entry : waiting_) {
        if (entry.text == text) {
            ++entry.count;
            return;
        }
    }
    waiting_.push_back({text, 1});
    if (!showing_)
        QTimer::singleShot(0, this, &TAlertQueue::ShowNext);
}

void TAlertQueue::ShowNext() {
    if (showing_ || waiting_.empty())
        return;
    const TEntry entry = waiting_.front();
    waiting_.pop_front();
    showing_ = true;
    // A modal box: the event loop runs inside it, and whatever comes meanwhile waits its turn.
    Dialogs().ShowError(entry.count > 1 ? lang_.ExtraText(Ext::AlertRepeated).arg(entry.text).arg(entry.count)
                                        : entry.text);
    showing_ = false;
    if (!waiting_.empty())
        QTimer::singleShot(0, this, &TAlertQueue::ShowNext);
}
