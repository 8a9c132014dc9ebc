// The main window's command list editor: the command buttons with their argument edits, the
// grid StringGridSend and its twin MemoSend, kept in step by every handler here.
#include "core/AppError.h"
#include "core/Dialogs.h"
#include "core/Unit1.h"
#include "core/UnitCommonDatas.h"
#include "core/widgets/HiddenMemo.h"
#include "core/widgets/RadioGroup.h"
#include "core/widgets/StringGrid.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/ReadWriteThread.h"
#include "protocol/UnitKVTComands.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
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
    connect(rgrUnits, &TRadioGroup::Clicked, this, &TForm1::rgrUnitsClick);
    connect(btnScaleChange, &QPushButton::clicked, this, &TForm1::btnScaleChangeClick);
    connect(mmFileSave, &QAction::triggered, this, &TForm1::mmFileSaveClick);
    connect(mmFileOpen, &QAction::triggered, this, &TForm1::mmFileOpenClick);
}

void TForm1::ToolButtonClick(int index, QLineEdit* edit, bool reportsParameterError) {
    try {
        EditorAddCommand(index, edit ? edit->text() : QString("no"));
    } catch (const EAppError& error) {
        if (reportsParameterError)
            Dialogs().ShowMessage(Lang->Message(Msg::ParameterIncorrect));
        else
            ReportError(error);
    }
}

bool TForm1::EditorAddCommand(int index, const QString& argument) {
    const bool direct = chbDirectControl->isChecked();
    if (direct && RWThread && !RWThread->Finished()) {
        // The command could not be sent now; adding it silently would let the operator believe
        // it had been.
        Dialogs().ShowMessage(
            "The previous command is still being sent. Wait for its answer, then try again.");
        return false;
    }
    if (direct)
        btnAllClearClick();
    const bool added =
        KVTCommands->AddCommand(index, argument, StringGridSend->Model(), &MemoSend->Lines, *CommonDatas);
    if (added && direct)
        btnRunTRClick();
    return added;
}

void TForm1::btnLD1Click() {
    EditorAddCommand(TKVTCommands::LD, "1");
    if (CommonDatas->DirectControl)
        return;
    if (CommonDatas->AutoAddBG)
        EditorAddCommand(TKVTCommands::BG, "no");
    if (CommonDatas->AutoAddEN)
        EditorAddCommand(TKVTCommands::EN, "no");
}

void TForm1::btnAllClearClick() {
    MemoRead->clear();
    MemoSend->Lines.clear();
    StringGridSend->SetRowCount(2);
    for (int column = 0; column < 3; ++column)
        StringGridSend->SetCell(column, 1, QString());
    SetListFaulty(false);
}

void TForm1::btnDelRawClick() {
    // Any command row can be deleted, also one whose description is empty (a program loaded
    // with a short companion file); the trailing empty row cannot.
    const int row = StringGridSend->Row();
    if (StringGridSend->RowCount() <= 2 || row < 1 || row >= StringGridSend->RowCount() - 1)
        return;
    StringGridSend->DeleteRow(row);
    if (row - 1 < MemoSend->Lines.size())
        MemoSend->Lines.removeAt(row - 1);
    RenumberRows();
}

void TForm1::StringGridSendRowMoved(int from, int to) {
    QStringList& lines = MemoSend->Lines;
    if (from < 1 || from - 1 >= lines.size())
        return;
    if (to == StringGridSend->RowCount() - 1) {
        // Dropped on the trailing empty row: the command is removed.
        StringGridSend->DeleteRow(to);
        lines.removeAt(from - 1);
    } else if (to - 1 < lines.size()) {
        lines.move(from - 1, to - 1);
    }
    RenumberRows();
}

void TForm1::btnClearClick() {
    MemoRead->clear();
}

void TForm1::chbDirectControlClick() {
    CommonDatas->DirectControl = chbDirectControl->isChecked();
    btnAllClearClick();
}

void TForm1::RenumberRows() {
    StringGridSend->Model()->RenumberRows();
}

void TForm1::SetListFaulty(bool faulty) {
    listFaulty_ = faulty;
    btnRunTR->setEnabled(!faulty);
}
