// The main window's other dialogs: error handling and recovery, the channel indicators and the
// hidden channel selection, and the choice of language.
#include "Unit1.h"
#include "UnitChanRead.h"
#include "UnitColorIndicators.h"
#include "UnitCoord.h"
#include "UnitErrNastr.h"
#include "UnitLang.h"
#include "core/Dialogs.h"
#include "core/UnitCommonDatas.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "session/Session.h"

void TForm1::mmNastrErrorClick() {
    if (!formErrNastr_)
        formErrNastr_ = new TFormErrNastr(*this);
    formErrNastr_->open(); // modal over the window, without a nested event loop
}

void TForm1::btnSetCoordStatesClick() {
    if (!formColorIndicators_)
        formColorIndicators_ = new TFormColorIndicators(*this);
    formColorIndicators_->open();
}

void TForm1::mmSettsCoordClick() {
    if (!formCoord_)
        formCoord_ = new TFormCoord(*this);
    formCoord_->show();
}

void TForm1::mmLangClick() {
    // A new dialog each time: it reads the language list afresh.
    delete formLang_;
    formLang_ = new TFormLang(*this, this);
    formLang_->setAttribute(Qt::WA_DeleteOnClose);
    formLang_->setModal(true);
    formLang_->open();
}

bool TForm1::ChangeLanguage(const QString& code) {
    TSession& session = Session();
    TLang& lang = session.Lang();
    // A language whose files can't be read would leave the window without captions, and be
    // stored for the next start: it changes nothing.
    for (const char* part : {"f1", "addf", "msg"}) {
        const QString path = lang.LanguageFileOf(code, part);
        if (!TLang::ReadLanguageFile(path)) {
            Dialogs().ShowMessage(lang.Message(Msg::FilePrefix) + path +
                                  lang.Message(Msg::NotFoundOrDamaged));
            return false;
        }
    }
    session.Datas().Language = code;
    lang.LoadTexts("f1");
    lang.ApplyMainTexts(*this);
    lang.LoadMessages();
    lang.LoadExtraTexts();
    ApplyExtraTexts();
    session.RebuildCommandTable();
    return true;
}

void TForm1::ErrNastrClosed(TFormErrNastr* dialog) {
    if (formErrNastr_ == dialog)
        formErrNastr_ = nullptr;
}

void TForm1::ColorIndicatorsClosed(TFormColorIndicators* dialog) {
    if (formColorIndicators_ == dialog)
        formColorIndicators_ = nullptr;
}

void TForm1::CoordClosed(TFormCoord* dialog) {
    if (formCoord_ == dialog)
        formCoord_ = nullptr;
}

void TForm1::LangClosed(TFormLang* dialog) {
    if (formLang_ == dialog)
        formLang_ = nullptr;
}

void TForm1::mmReadChClick() {
    if (!formChanRead_)
        formChanRead_ = new TFormChanRead(*this);
    formChanRead_->show();
    formChanRead_->raise();
}

void TForm1::ChanReadClosed(TFormChanRead* dialog) {
    if (formChanRead_ == dialog)
        formChanRead_ = nullptr;
}
