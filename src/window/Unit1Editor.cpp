// The main window's command list editor: the command buttons with their argument edits, and the
// grid StringGridSend, which shows the session's command list.
#include "Unit1.h"
#include "core/AppError.h"
#include "core/Dialogs.h"
#include "core/UnitCommonDatas.h"
#include "editor/AddCommand.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/UnitKVTComands.h"
#include "session/Session.h"
#include "widgets/RadioGroup.h"
#include "widgets/StringGrid.h"

#include "widgets/LineList.h"
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

void TForm1::ConnectEditorHandlers() {
    using K = TKVTCommands;
    // Button, command, argument edit, and whether a bad argument is answered with
    // "Parameter value is incorrect" (otherwise the general error report shows the error).
    const struct {
        QToolButton* button;
        int index;
        QLineEdit* edit;
        bool reportsParameterError;
    } tools[] = {
        {btnBG, K::BG, nullptr, false}, {btnDL, K::DL, nullptr, false}, {btnDR, K::DR, nullptr, false},
        {btnRS, K::RS, nullptr, false}, {btnDS, K::DS, nullptr, false}, {btnEN, K::EN, nullptr, false},
        {btnAL, K::AL, EditAL, true},   {btnSD, K::SD, EditSD, true},   {btnSS, K::SS, EditSS, true},
        {btnMVn, K::MV, EditMVn, true}, {btnMV, K::MV, nullptr, false}, {btnSP, K::SP, EditSP, true},
        {bthHM, K::HM, nullptr, false}, {btnML, K::ML, EditML, false},  {btnMH, K::MH, EditMh, false},
        {btnSF, K::SF, EditSF, false},  {btnCF, K::CF, EditCF, false},  {btnWL, K::WL, EditWL, false},
        {btnWH, K::WH, EditWH, false},  {btnLL, K::LL, nullptr, false}, {btnLP, K::JP, EditJP, true},
        {btnLB, K::LB, nullptr, false}, {btnSB, K::SB, EditSB, true},   {btnED, K::ED, nullptr, false},
        {btnST, K::ST, nullptr, false},
    };
    for (const auto& t : tools) {
        connect(t.button, &QToolButton::clicked, this,
                [this, t] { ToolButtonClick(t.index, t.edit, t.reportsParameterError); });
    }
    connect(btnPS1, &QToolButton::clicked, this, [this] { EditorAddCommand(TKVTCommands::PS, "1"); });
    connect(btnLD1, &QToolButton::clicked, this, &TForm1::btnLD1Click);
    connect(btnAllClear, &QPushButton::clicked, this, &TForm1::btnAllClearClick);
    connect(btnDelRaw, &QPushButton::clicked, this, &TForm1::btnDelRawClick);
    connect(btnClear, &QPushButton::clicked, this, &TForm1::btnClearClick);
    connect(chbDirectControl, &QCheckBox::clicked, this, &TForm1::chbDirectControlClick);
    connect(StringGridSend, &TStringGrid::RowMoved, this, &TForm1::StringGridSendRowMoved);
    // A units switch may re-scale the list: only a real change of the selection acts.
    connect(rgrUnits, &TRadioGroup::Clicked, this, [this] {
        if (rgrUnits->ItemIndex() != Session().Datas().UnitsMode)
            rgrUnitsClick();
    });
    connect(btnScaleChange, &QPushButton::clicked, this, &TForm1::btnScaleChangeClick);
    connect(mmFileSave, &QAction::triggered, this, &TForm1::mmFileSaveClick);
    connect(mmFileOpen, &QAction::triggered, this, &TForm1::mmFileOpenClick);
}

void TForm1::ToolButtonClick(int index, QLineEdit* edit, bool reportsParameterError) {
    try {
        EditorAddCommand(index, edit ? edit->text() : QString("no"));
    } catch (const EAppError& error) {
        if (reportsParameterError)
            Dialogs().ShowMessage(Session().Lang().Message(Msg::ParameterIncorrect));
        else
            ReportError(error);
    }
}

bool TForm1::EditorAddCommand(int index, const QString& argument) {
    TSession& session = Session();
    const bool direct = chbDirectControl->isChecked();
    if (direct && session.Transmitting()) {
        // The command could not be sent now; adding it silently would let the operator believe
        // it had been.
        Dialogs().ShowMessage(session.Lang().ExtraText(Ext::DirectControlBusy));
        return false;
    }
    if (direct)
        btnAllClearClick();
    const bool added =
        AddCommand(session.Commands(), session.Datas(), index, argument, session.CommandList());
    if (added && direct)
        btnRunTRClick();
    return added;
}

void TForm1::btnLD1Click() {
    const TCommonDatas& datas = Session().Datas();
    EditorAddCommand(TKVTCommands::LD, "1");
    if (datas.DirectControl)
        return;
    if (datas.AutoAddBG)
        EditorAddCommand(TKVTCommands::BG, "no");
    if (datas.AutoAddEN)
        EditorAddCommand(TKVTCommands::EN, "no");
}

void TForm1::btnAllClearClick() {
    MemoRead->Clear();
    Session().CommandList().Clear();
    SetListFaulty(false);
}

void TForm1::btnDelRawClick() {
    // Any command row can be deleted, also one whose description is empty (a program loaded
    // with a short companion file); the trailing empty row cannot.
    const int row = StringGridSend->Row();
    Session().CommandList().Remove(row - 1);
}

void TForm1::StringGridSendRowMoved(int from, int to) {
    TCommandList& list = Session().CommandList();
    if (from < 1 || from > list.Count())
        return;
    if (to == StringGridSend->RowCount() - 1) {
        // Dropped on the trailing empty row: the command is removed.
        list.Remove(from - 1);
        return;
    }
    list.Move(from - 1, to - 1);
    StringGridSend->SetRow(to);
}

void TForm1::btnClearClick() {
    MemoRead->Clear();
}

void TForm1::chbDirectControlClick() {
    Session().Datas().DirectControl = chbDirectControl->isChecked();
    btnAllClearClick();
}

void TForm1::SetListFaulty(bool faulty) {
    listFaulty_ = faulty;
    btnRunTR->setEnabled(!faulty);
}
