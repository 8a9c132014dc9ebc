// The main window's command list editor: the grid StringGridSend and its twin MemoSend, kept in
// step by the editing handlers.
#include "core/Unit1.h"
#include "core/widgets/HiddenMemo.h"
#include "core/widgets/StringGrid.h"

#include <QPlainTextEdit>
#include <QPushButton>

void TForm1::btnAllClearClick() {
    MemoRead->clear();
    MemoSend->Lines.clear();
    StringGridSend->SetRowCount(2);
    for (int column = 0; column < 3; ++column)
        StringGridSend->SetCell(column, 1, QString());
    SetListFaulty(false);
}

void TForm1::SetListFaulty(bool faulty) {
    listFaulty_ = faulty;
    btnRunTR->setEnabled(!faulty);
}
