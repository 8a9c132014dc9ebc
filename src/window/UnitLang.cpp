#include "UnitLang.h"

#include "core/Dialogs.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "widgets/Captions.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
constexpr TCaptionSlot kSlots[] = {{25, "TFormLang", -1}, {27, "lbl1", -1}, {27, "ComboBoxLangText", -1}};
constexpr int kHighestEntry = 27;
} // namespace

TFormLang::TFormLang(TLang& lang, QWidget* parent) : QDialog(parent), lang_(lang) {
    setObjectName("TFormLang");
    setWindowTitle("Set language");
    resize(366, 111);
    auto* column = new QVBoxLayout(this);
    lbl1 = new QLabel("Please, select language from the list:", this);
    lbl1->setObjectName("lbl1");
    QFont font = lbl1->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    lbl1->setFont(font);
    ComboBoxLang = new QComboBox(this);
    ComboBoxLang->setObjectName("ComboBoxLang");
    ComboBoxLang->setFixedWidth(257);
    ComboBoxLang->setEditable(true);
    ComboBoxLang->setInsertPolicy(QComboBox::NoInsert);
    ComboBoxLang->lineEdit()->setPlaceholderText("Select Language");
    column->addWidget(lbl1);
    column->addWidget(ComboBoxLang);
    FormCreate();
}

void TFormLang::FormCreate() {
    ApplyLanguage();
    const QString path = lang_.LanguageListFile();
    const auto lines = TLang::ReadLanguageFile(path);
    if (!lines) {
        Dialogs().ShowMessage(lang_.Message(Msg::FilePrefix) + path + lang_.Message(Msg::NotFoundOrDamaged));
        return;
    }
    ComboBoxLang->addItems(*lines);
    ComboBoxLang->setCurrentIndex(-1);
}

void TFormLang::ApplyLanguage() {
    lang_.ApplyDialogLanguage(*this, kSlots, kHighestEntry);
}

void TFormLang::SetCaption(const QString& objectName, int item, const QString& text) {
    if (objectName == "ComboBoxLangText") {
        ComboBoxLang->lineEdit()->setPlaceholderText(text);
        return;
    }
    SetControlCaption(this, objectName, item, text);
}
