#include "TranslatedDialog.h"

#include "core/Dialogs.h"
#include "session/OperatorSettings.h"
#include "widgets/Captions.h"

TTranslatedDialog::TTranslatedDialog(TOperatorSettings& options, const TDialogTexts& texts, QWidget* parent)
    : QDialog(parent), options_(options), slots_(texts.captionSlots), highestEntry_(texts.highestEntry) {
    setObjectName(texts.objectName);
    setWindowTitle(texts.title);
    setModal(texts.modal);
    setAttribute(Qt::WA_DeleteOnClose);
}

const TLang& TTranslatedDialog::Lang() const {
    return options_.Lang();
}

void TTranslatedDialog::FormCreate() {
    ApplyLanguage();
    Fill();
}

void TTranslatedDialog::ApplyLanguage() {
    ShowMessages(options_.ApplyDialogLanguage(*this, slots_, highestEntry_));
}

void TTranslatedDialog::SetCaption(const QString& objectName, int item, const QString& text) {
    SetControlCaption(this, objectName, item, text);
}

void ShowMessages(const QStringList& texts) {
    for (const QString& text : texts)
        Dialogs().ShowError(text);
}
