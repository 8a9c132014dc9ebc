#include "ExtendedPanel.h"

#include "CommandToolPanel.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "widgets/Design.h"
#include "widgets/LineList.h"
#include "widgets/StringGrid.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

using namespace Design;

namespace {
// Stacks `caption` over `list` in `panel`, the list taking every pixel of height the panel gets.
void CaptionOverList(QFrame* panel, QWidget* caption, QWidget* list) {
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(caption);
    column->addWidget(list, 1);
}

} // namespace

TExtendedPanel::TExtendedPanel(QWidget* parent) : TPanel("PanelMultC", parent) {
    auto* row = Design::Spaced(new QHBoxLayout(this), 2, 2);
    Tools = new TCommandToolPanel(this);
    row->addWidget(Tools);

    listColumn = new QVBoxLayout;
    StringGridSend = new TStringGrid("StringGridSend", this);
    btnRunTR = Button("btnRunTR", "Send", this);
    btnRunTR->setEnabled(false);
    btnRunTR->setToolTip(QKeySequence(Qt::Key_F5).toString(QKeySequence::NativeText));
    btnStopSending = Button("btnStopSending", "Stop sending", this);
    btnStopSending->setEnabled(false);
    btnStopSending->setToolTip(QKeySequence(Qt::Key_Escape).toString(QKeySequence::NativeText));
    btnAllClear = Button("btnAllClear", "Clear all", this);
    btnDelRaw = Button("btnDelRaw", "Clear current string", this);
    chbDirectControl = Named(new QCheckBox("Direct Control", this), "chbDirectControl");
    chbDirectControl->setToolTip("Check to send commands directly");
    btnPreview = Button("btnPreview", "Preview", this);
    btnPreview->setToolTip(QKeySequence(Qt::Key_F6).toString(QKeySequence::NativeText));
    btnClear = Button("btnClear", "Clear", this);
    btnClear->hide();
    listColumn->addWidget(StringGridSend, 1);
    auto* buttons = new QGridLayout;
    buttons->setSpacing(2);
    buttons->addWidget(btnDelRaw, 0, 0);
    buttons->addWidget(btnAllClear, 0, 1);
    buttons->addWidget(chbDirectControl, 1, 0, 1, 2);
    buttons->addWidget(btnRunTR, 2, 0);
    buttons->addWidget(btnStopSending, 2, 1);
    buttons->addWidget(btnPreview, 3, 0, 1, 2);
    listColumn->addLayout(buttons);
    row->addLayout(listColumn, 1);

    panelLoadAns = Named(new QFrame(this), "panelLoadAns");
    lblLoading = Label("lblLoading", "Loading:", panelLoadAns);
    MemoRead = new TMemoList("MemoRead", panelLoadAns);
    CaptionOverList(panelLoadAns, lblLoading, MemoRead);
    row->addWidget(panelLoadAns);

    panelPortAns = Named(new QFrame(this), "panelPortAns");
    lblResponse = Label("lblResponse", "Response:", panelPortAns);
    lbBufRead = new TReplyList("lbBufRead", panelPortAns);
    CaptionOverList(panelPortAns, lblResponse, lbBufRead);
    row->addWidget(panelPortAns);

    setEnabled(false);
    hide();
}

int TExtendedPanel::ShowSideLists(bool loading, bool replies, bool replyTimes) {
    panelLoadAns->setVisible(loading);
    panelLoadAns->setFixedWidth(loading ? 105 : 0);
    panelPortAns->setVisible(replies);
    panelPortAns->setFixedWidth(replies ? 105 + (replyTimes ? lbBufRead->StampWidth() : 0) : 0);
    return panelLoadAns->width() + panelPortAns->width() + 384;
}

void TExtendedPanel::ApplyTexts(const TLang& lang) {
    Tools->ApplyTexts(lang);
    StringGridSend->SetDragHint(lang.ExtraText(Ext::DragRowHint));
    StringGridSend->SetCell(TCommandList::LineColumn, 0, lang.ExtraText(Ext::CodeColumn));
    btnStopSending->setText(lang.ExtraText(Ext::StopSending));
    btnPreview->setText(lang.ExtraText(Ext::PreviewButton));
    chbDirectControl->setToolTip(lang.ExtraText(Ext::HintDirectControl));
}

void TExtendedPanel::PlaceBelowList(QWidget* widget) {
    widget->setParent(this);
    listColumn->insertWidget(1, widget);
}

void TExtendedPanel::EnableAll(bool on) {
    EnableWithChildren(this, on);
}
