#include "LangDialog.h"

#include "core/Dialogs.h"
#include "session/Session.h"
#include "widgets/Captions.h"

TLangDialog::TLangDialog(TSession& session, QWidget* parent, const char* objectName, const QString& title,
                         std::span<const TCaptionSlot> captionSlots, int highestEntry)
    : QDialog(parent), session_(session), slots_(captionSlots), highestEntry_(highestEntry) {
    setObjectName(objectName);
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
}

void TLangDialog::FormCreate() {
    ApplyLanguage();
    Fill();
}

void TLangDialog::ApplyLanguage() {
    session_.ApplyDialogLanguage(*this, slots_, highestEntry_);
    ShowMessages(session_.TakeLanguageProblems());
}

void TLangDialog::SetCaption(const QString& objectName, int item, const QString& text) {
    SetControlCaption(this, objectName, item, text);
}

void ShowMessages(const QStringList& texts) {
    for (const QString& text : texts)
        Dialogs().ShowMessage(text);
}
