#include "UnitLang.h"

#include "core/Dialogs.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "session/OperatorSettings.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
constexpr TCaptionSlot kUnitLangSlots[] = {
    {25, "TFormLang", -1}, {27, "lbl1", -1}, {27, "ComboBoxLangText", -1}};
} // namespace

TFormLang::TFormLang(TOperatorSettings& options, QWidget* parent)
    : TTranslatedDialog(options, {"TFormLang", "Set language", kUnitLangSlots, 27, false}, parent) {
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
    connect(ComboBoxLang, &QComboBox::activated, this, &TFormLang::ComboBoxLangClick);
    FormCreate();
}

void TFormLang::Fill() {
    const TLang& lang = Lang();
    const QString path = lang.LanguageListFile();
    const auto lines = TLang::ReadLanguageFile(path);
    if (!lines) {
        Dialogs().ShowError(lang.Message(Msg::FilePrefix) + path + lang.Message(Msg::NotFoundOrDamaged));
        return;
    }
    ComboBoxLang->addItems(*lines);
    ComboBoxLang->setCurrentIndex(-1);
}

void TFormLang::ComboBoxLangClick(int index) {
    // A code is used without the line end and the blanks around it.
    const QString code = ComboBoxLang->itemText(index).trimmed();
    if (code.isEmpty())
        return;
    const TLang& lang = Lang();
    // OK is the default: the operator has just chosen the language, and nothing is written.
    if (!Dialogs().Confirm(lang.Message(Msg::SetLanguage) + code + "\"?\"", true))
        return;
    // A language whose files can't be read changes nothing; its file is named.
    const QString unreadable = Options().ChangeLanguage(code);
    if (!unreadable.isEmpty()) {
        Dialogs().ShowError(lang.Message(Msg::FilePrefix) + unreadable +
                            lang.Message(Msg::NotFoundOrDamaged));
        return;
    }
    emit LanguageChanged();
    ApplyLanguage();
}

void TFormLang::SetCaption(const QString& objectName, int item, const QString& text) {
    if (objectName == "ComboBoxLangText") {
        ComboBoxLang->lineEdit()->setPlaceholderText(text);
        return;
    }
    TTranslatedDialog::SetCaption(objectName, item, text);
}
