// The main window's settings: the port dialogs, the program settings dialog, the stored
// selections of the settings file, and what is saved when the window closes.
#include "PortName.h"
#include "Unit1.h"
#include "UnitByteLen.h"
#include "UnitProgProp.h"
#include "core/AppError.h"
#include "core/Dialogs.h"
#include "core/UnitCommonDatas.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/ReplyLog.h"
#include "serial/ComPort.h"
#include "session/Session.h"
#include "settings/LogFiles.h"
#include "widgets/LogView.h"
#include "widgets/RadioGroup.h"

#include <QCloseEvent>

#include <functional>

void TForm1::ReportFile(const QString& path) {
    const TLang& lang = Session().Lang();
    Dialogs().ShowMessage(lang.Message(Msg::FilePrefix) + path + lang.Message(Msg::NotFoundOrDamaged));
}

void TForm1::mmSettsPortNameClick() {
    btnClosePortClick();
    if (!formPortName_)
        formPortName_ = new TFormPortName(*this);
    formPortName_->open(); // modal over the main window, without a nested event loop
}

void TForm1::mmSettsPropClick() {
    if (!formByteLen_)
        formByteLen_ = new TFormByteLen(*this);
    formByteLen_->show();
    formByteLen_->raise();
    formByteLen_->activateWindow();
}

void TForm1::mmNastrLogsClick() {
    if (!formProgProp_)
        formProgProp_ = new TFormProgProp(*this);
    formProgProp_->open();
}

void TForm1::PortNameDialogClosed(TFormPortName* dialog) {
    if (formPortName_ == dialog)
        formPortName_ = nullptr;
}

void TForm1::ByteLenDialogClosed(TFormByteLen* dialog) {
    if (formByteLen_ == dialog)
        formByteLen_ = nullptr;
}

void TForm1::ProgPropDialogClosed(TFormProgProp* dialog) {
    if (formProgProp_ == dialog)
        formProgProp_ = nullptr;
}

void TForm1::SelectControlMode(int mode) {
    if (mode < 0 || mode >= rgrSingl_Mult->Count() || mode == rgrSingl_Mult->ItemIndex())
        return;
    rgrSingl_Mult->SetItemIndex(mode);
    rgrSingl_MultClick();
}

void TForm1::SelectUnitsMode(int mode) {
    if (mode < 0 || mode >= rgrUnits->Count() || mode == rgrUnits->ItemIndex())
        return;
    rgrUnits->SetItemIndex(mode);
    rgrUnitsClick();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

bool TForm1::FormClose() {
    return SaveOnClose();
}

bool TForm1::SaveOnClose() {
    TSession& session = Session();
    const TCommonDatas& d = session.Datas();
    const TSettingsFiles& files = session.Settings();
    const struct {
        bool due;
        std::function<void()> write;
    } steps[] = {
        {d.SaveOperationLog, [&] { LogFiles::WriteOperationLog(session.Paths, MemoLog->Lines()); }},
        {d.SavePortLog, [&] { LogFiles::WriteReplyLog(session.Paths, session.ReplyLog().Lines()); }},
        {d.SavePortSettings, [&] { files.WritePortSettings(session.PortNumberToStore()); }},
        {d.SaveProgramSettings,
         [&] { files.WriteProgramSettings(rgrSingl_Mult->ItemIndex(), rgrUnits->ItemIndex()); }},
        {d.SaveErrorSettings, [&] { files.WriteErrorSettings(); }},
    };
    for (const auto& step : steps) {
        if (!step.due)
            continue;
        try {
            step.write();
        } catch (const EFileError& error) {
            // Never a window that cannot close: the operator decides.
            ReportError(error);
            return Dialogs().Confirm(session.Lang().ExtraText(Ext::CloseWithoutSaving));
        }
    }
    return true;
}
