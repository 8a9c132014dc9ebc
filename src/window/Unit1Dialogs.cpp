// The main window's dialogs: each is made on first use over the room it works with and wired to
// what the window must do afterwards; and the close, which saves what is due.
#include "FileMenu.h"
#include "ListHistory.h"
#include "PortControls.h"
#include "PortName.h"
#include "ProgramPreviewWindow.h"
#include "TranslatedDialog.h"
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
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "panels/ExtendedPanel.h"
#include "session/OperatorSettings.h"
#include "session/ReadBackToList.h"
#include "session/ResumeSending.h"
#include "session/Session.h"
#include "session/controller/Controller.h"
#include "session/controller/Sending.h"
#include "widgets/StringGrid.h"

#include <QCloseEvent>

void TForm1::mmSettsPortNameClick() {
    btnClosePortClick();
    // Modal over the main window, without a nested event loop.
    TSession& s = Session();
    Ensure(
        formPortName_, [&] { return new TFormPortName(s.Options(), s.Controller().Connection(), this); },
        [this](TFormPortName* d) { connect(d, &TFormPortName::PortChosen, this, &TForm1::btnOpenPortClick); })
        ->open();
}

void TForm1::mmSettsPropClick() {
    TSession& s = Session();
    TFormByteLen* dialog = Ensure(
        formByteLen_, [&] { return new TFormByteLen(s.Options(), s.Controller().Connection(), this); },
        // The description shows the new settings when the port is next opened.
        [this](TFormByteLen* d) {
            connect(d, &TFormByteLen::LineSettingsApplied, port_, &TPortControls::ShowTooltip);
        });
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void TForm1::mmNastrLogsClick() {
    Ensure(
        formProgProp_, [this] { return new TFormProgProp(Session().Options(), this); },
        [this](TFormProgProp* d) {
            connect(d, &TFormProgProp::LayoutChanged, this, [this] {
                ShowOperationLog(Session().Options().Settings().ShowOperationLog);
                ApplyModeLayout();
            });
        })
        ->open();
}

void TForm1::mmNastrErrorClick() {
    Ensure(formErrNastr_, [this] {
        return new TFormErrNastr(Session().Options(), Session().Controller().Channels(), this);
    })->open();
}

void TForm1::btnSetCoordStatesClick() {
    Ensure(formColorIndicators_, [this] {
        return new TFormColorIndicators(Session().Options(), Session().Controller().Channels(), this);
    })->open();
}

void TForm1::mmSettsCoordClick() {
    Ensure(formCoord_, [this] { return new TFormCoord(Session().Controller().Channels(), this); })->show();
}

void TForm1::mmLangClick() {
    // A new dialog each time: it reads the language list afresh.
    delete formLang_;
    Ensure(
        formLang_, [this] { return new TFormLang(Session().Options(), this); },
        [this](TFormLang* d) {
            connect(d, &TFormLang::LanguageChanged, this, &TForm1::LanguageChanged);
            d->setModal(true);
        })
        ->open();
}

void TForm1::mmReadChClick() {
    // "Add to the command list" is one step of the list's history, and the list no file's.
    TFormChanRead* dialog = Ensure(formChanRead_, [this] {
        return new TFormChanRead(Session().Options(), Session().Controller().ReadBack(),
                                 Session().ReadBackToList(), this);
    });
    dialog->show();
    dialog->raise();
}

void TForm1::mmPreviewClick() {
    TProgramPreviewWindow* window = Ensure(
        formPreview_,
        [this] {
            return new TProgramPreviewWindow(Session().Options(), Session().Editor(),
                                             Session().Controller().Sending(), this);
        },
        [this](TProgramPreviewWindow* w) {
            // What Resume would send, else what "Send from the selected row" would.
            w->SetPart([this] {
                if (const auto point = Session().Resume().Resumable())
                    return point->from;
                const TResumePoint row = Session().Resume().FromRow(ExtendedPanel->StringGridSend->Row() - 1);
                return row.count > 0 ? row.from : -1;
            });
            connect(&Session().Resume(), &TResumeSending::ResumableChanged, w,
                    &TProgramPreviewWindow::Refresh);
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
    ShowMessages(Session().Options().ApplyMainLanguage(*this));
    ApplyExtraTexts();
}

void TForm1::FormDestroy() {
    // The dialogs go first, while the rooms they stand on are whole.
    const auto close = [](auto& dialog) { delete dialog.data(); };
    close(formPortName_);
    close(formByteLen_);
    close(formProgProp_);
    close(formErrNastr_);
    close(formColorIndicators_);
    close(formCoord_);
    close(formLang_);
    close(formChanRead_);
    close(formPreview_);
    // The history's steps and the menus stand on the rooms too.
    delete history_;
    history_ = nullptr;
    delete files_;
    files_ = nullptr;
    // A running sending stops at once and is waited for, before the port goes.
    session_.reset();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

bool TForm1::FormClose() {
    // Unsaved changes of the operator's list are saved, or given up, or the window stays.
    if (!files_->MayDiscard())
        return false;
    // A close during a recording asks first, and stops it cleanly on the way out.
    TSending& sending = Session().Controller().Sending();
    const TLang& lang = Session().Lang();
    if (sending.RecordingUnderWay() &&
        !Dialogs().Confirm(lang.ExtraText(Ext::CloseDuringRecording), false, true))
        return false;
    sending.EndForClose();
    try {
        // The program's own files that could not be written are told; they stop nothing.
        ShowMessages(Session().SaveOnClose());
    } catch (const EFileError& error) {
        // Never a window that cannot close: the operator decides.
        ReportError(error);
        return Dialogs().Confirm(lang.ExtraText(Ext::CloseWithoutSaving), false, true);
    }
    return true;
}
