// The main window's dialogs: each is made on first use over the session and wired to what the
// window must do afterwards; and the close, which saves what is due.
#include "LangDialog.h"
#include "ListHistory.h"
#include "PortName.h"
#include "ProgramPreviewWindow.h"
#include "Unit1.h"
#include "UnitByteLen.h"
#include "UnitChanRead.h"
#include "UnitColorIndicators.h"
#include "UnitCoord.h"
#include "UnitErrNastr.h"
#include "UnitLang.h"
#include "UnitProgProp.h"
#include "core/AppError.h"
#include "core/Dialogs.h"
#include "core/UnitCommonDatas.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "panels/ExtendedPanel.h"
#include "session/Session.h"
#include "widgets/LogView.h"
#include "widgets/StringGrid.h"

#include <QCloseEvent>

void TForm1::mmSettsPortNameClick() {
    btnClosePortClick();
    // Modal over the main window, without a nested event loop.
    Ensure(formPortName_, [this](TFormPortName* d) {
        connect(d, &TFormPortName::PortChosen, this, &TForm1::btnOpenPortClick);
    })->open();
}

void TForm1::mmSettsPropClick() {
    TFormByteLen* dialog = Ensure(formByteLen_, [this](TFormByteLen* d) {
        // The description shows the new settings when the port is next opened.
        connect(d, &TFormByteLen::LineSettingsApplied, this, &TForm1::ShowPortTooltip);
    });
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void TForm1::mmNastrLogsClick() {
    Ensure(formProgProp_, [this](TFormProgProp* d) {
        connect(d, &TFormProgProp::LayoutChanged, this, [this] {
            ShowOperationLog(Session().Settings().ShowOperationLog);
            ApplyModeLayout();
        });
    })->open();
}

void TForm1::mmNastrErrorClick() {
    Ensure(formErrNastr_)->open();
}

void TForm1::btnSetCoordStatesClick() {
    Ensure(formColorIndicators_)->open();
}

void TForm1::mmSettsCoordClick() {
    Ensure(formCoord_)->show();
}

void TForm1::mmLangClick() {
    // A new dialog each time: it reads the language list afresh.
    delete formLang_;
    Ensure(formLang_, [this](TFormLang* d) {
        connect(d, &TFormLang::LanguageChanged, this, &TForm1::LanguageChanged);
        d->setModal(true);
    })->open();
}

void TForm1::mmReadChClick() {
    // "Add to the command list" is one step of the list's history.
    TFormChanRead* dialog = Ensure(formChanRead_, [this](TFormChanRead* d) {
        connect(d, &TFormChanRead::ListReplaceBegins, history_, &TListHistory::Begin);
        connect(d, &TFormChanRead::ListReplaceEnds, history_, &TListHistory::End);
        // The list read back is the operator's to edit, but no file's.
        connect(d, &TFormChanRead::ListReplaceEnds, this, [this] {
            document_.Detach();
            UpdateTitle();
        });
    });
    dialog->show();
    dialog->raise();
}

void TForm1::mmPreviewClick() {
    TProgramPreviewWindow* window = Ensure(formPreview_, [this](TProgramPreviewWindow* w) {
        connect(w, &TProgramPreviewWindow::LineChosen, this, [this](int line) {
            TStringGrid* grid = ExtendedPanel->StringGridSend;
            grid->SetRow(line + 1);
            grid->scrollTo(grid->currentIndex());
        });
    });
    window->show();
    window->raise();
}

void TForm1::LanguageChanged() {
    Session().ApplyMainLanguage(*this);
    ShowMessages(Session().TakeLanguageProblems());
    ApplyExtraTexts();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

bool TForm1::FormClose() {
    // Unsaved changes of the operator's list are saved, or given up, or the window stays.
    if (!MayDiscardProgram())
        return false;
    // A close during a recording asks first, and stops it cleanly on the way out.
    if (Session().RecordingUnderWay() &&
        !Dialogs().Confirm(Session().Lang().ExtraText(Ext::CloseDuringRecording), false, true))
        return false;
    Session().EndForClose();
    try {
        Session().SaveOnClose();
    } catch (const EFileError& error) {
        // Never a window that cannot close: the operator decides.
        ReportError(error);
        return Dialogs().Confirm(Session().Lang().ExtraText(Ext::CloseWithoutSaving), false, true);
    }
    return true;
}
