#include "UnitChanRead.h"

#include "Unit1.h"
#include "core/Dialogs.h"
#include "core/Events.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/ReplyHandler.h"
#include "serial/ComPort.h"
#include "session/Session.h"
#include "widgets/Captions.h"
#include "widgets/StringGrid.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
constexpr TCaptionSlot kSlots[] = {{12, "TFormChanRead", -1}, {13, "btnRead", -1},
                                   {14, "chbAddToEnd", -1},   {15, "chbCodes", -1},
                                   {16, "btnAddToList", -1},  {17, "StringGridRead", 2}};
constexpr int kHighestEntry = 17;
} // namespace

TFormChanRead::TFormChanRead(TForm1& form)
    : QDialog(&form), form_(form), readed_(std::make_unique<TCommandList>("MemoReaded")) {
    setObjectName("TFormChanRead");
    setWindowTitle("Read executing program");
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(451, 279);
    auto* grid = new QGridLayout(this);
    btnRead = new QPushButton("Read from contoller", this);
    btnRead->setObjectName("btnRead");
    btnRead->setMinimumSize(145, 73);
    chbAddToEnd = new QCheckBox("Add to the end", this);
    chbAddToEnd->setObjectName("chbAddToEnd");
    chbCodes = new QCheckBox("Show command codes", this);
    chbCodes->setObjectName("chbCodes");
    chbCodes->setChecked(true);
    btnAddToList = new QPushButton("Add to the command list", this);
    btnAddToList->setObjectName("btnAddToList");
    btnCompare = new QPushButton(this);
    btnCompare->setObjectName("btnCompare");
    StringGridRead = new TStringGrid("StringGridRead", this);
    StringGridRead->SetList(readed_.get());
    StringGridRead->horizontalHeader()->setStretchLastSection(true);
    MemoChan = new QPlainTextEdit(this);
    MemoChan->setObjectName("MemoChan");
    MemoChan->setReadOnly(true);
    grid->addWidget(btnRead, 0, 0);
    grid->addWidget(chbAddToEnd, 1, 0);
    grid->addWidget(chbCodes, 2, 0);
    grid->addWidget(btnAddToList, 3, 0);
    grid->addWidget(btnCompare, 4, 0);
    grid->addWidget(StringGridRead, 0, 1, 6, 1);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(1, 1);
    grid->addWidget(MemoChan, 6, 0, 1, 2);
    connect(btnRead, &QPushButton::clicked, this, &TFormChanRead::btnReadClick);
    connect(chbCodes, &QCheckBox::clicked, this, &TFormChanRead::chbCodesClick);
    connect(btnAddToList, &QPushButton::clicked, this, &TFormChanRead::btnAddToListClick);
    connect(btnCompare, &QPushButton::clicked, this, &TFormChanRead::btnCompareClick);
    FormCreate();
}

TFormChanRead::~TFormChanRead() {
    // A read under way is abandoned at once: the wait ends, its outcome is never shown.
    thread_.reset();
    form_.ChanReadClosed(this);
}

void TFormChanRead::FormCreate() {
    StringGridRead->SetCell(0, 0, QString::fromUtf8("№"));
    ApplyLanguage();
    btnCompare->setText(form_.Session().Lang().ExtraText(Ext::CompareWithList));
    StringGridRead->SetColWidth(0, 20);
    StringGridRead->SetColWidth(1, 20);
}

void TFormChanRead::ApplyLanguage() {
    form_.Session().Lang().ApplyDialogLanguage(*this, kSlots, kHighestEntry);
}

void TFormChanRead::SetCaption(const QString& objectName, int item, const QString& text) {
    SetControlCaption(this, objectName, item, text);
}

void TFormChanRead::closeEvent(QCloseEvent* event) {
    form_.Session().Datas().ReadBackActive = false;
    QDialog::closeEvent(event);
}

void TFormChanRead::btnReadClick() {
    TSession& session = form_.Session();
    TCommonDatas& d = session.Datas();
    if (d.CommMode) {
        Dialogs().ShowMessage(session.Lang().ExtraText(Ext::ReadingImpossible));
        return;
    }
    if (d.CoordState[1] != TCommonDatas::Standby) {
        Dialogs().ShowMessage(session.Lang().Message(Msg::NotInStandby));
        return;
    }
    btnRead->setEnabled(false);
    if (thread_)
        return;
    // A read that gave up (no reply in time) leaves the event set once its answer comes after
    // all: this read waits for its own.
    d.SetReadBackText(QString());
    session.ReadBackEvent().Reset();
    thread_ = std::make_unique<TChanReadThread>(TChanReadThread::RequestFor(d), d, session.ReadBackEvent(),
                                                session.Port());
    // Emitted on the read thread; taken here, on the main thread.
    connect(thread_.get(), &TChanReadThread::Done, this, &TFormChanRead::ReadDone);
    thread_->Start();
}

void TFormChanRead::ReadDone(TChanReadThread::Outcome outcome) {
    if (outcome == TChanReadThread::Outcome::Stopped)
        return;
    thread_.reset();
    btnRead->setEnabled(true);
    TSession& session = form_.Session();
    const TLang& lang = session.Lang();
    if (outcome == TChanReadThread::Outcome::NoAnswer) {
        form_.AddLogLine(lang.Message(Msg::NoReply), true);
        return;
    }
    session.Replies().HandleAllQueued(); // what came before the end, acted on first
    TCommonDatas& d = session.Datas();
    const QString text = d.ReadBackText();
    if (!chbAddToEnd->isChecked())
        MemoChan->clear();
    if (!text.contains("ED*"))
        form_.AddLogLine(lang.ExtraText(Ext::NoCorrectProgram));
    MemoChan->appendPlainText(text);
    session.ReadBackEvent().Reset();
    session.ReplyEvent().Reset();
    d.ReadBackActive = false;
    lastRead_ = ParseReadBack(MemoChan->toPlainText().split('\n'), session.Commands(), d, *readed_);
    if (!lastRead_.stoppedAt.isEmpty())
        form_.AddLogLine(lang.ExtraText(Ext::ReadBackStopped).arg(lastRead_.stoppedAt, lastRead_.stopReason),
                         true);
}

void TFormChanRead::chbCodesClick() {
    const bool show = chbCodes->isChecked();
    MemoChan->setVisible(show);
    resize(width(), show ? 264 : 200);
}

void TFormChanRead::btnAddToListClick() {
    const TLang& lang = form_.Session().Lang();
    if (lastRead_.wrongCommand)
        form_.AddLogLine(lang.ExtraText(Ext::WrongCommandInReadList), true);
    form_.btnAllClearClick();
    form_.SetListFaulty(lastRead_.wrongCommand);
    form_.Session().CommandList().SetProgram(readed_->Lines(), readed_->Descriptions());
}

void TFormChanRead::btnCompareClick() {
    const TLang& lang = form_.Session().Lang();
    const TComparison c = CompareWithList(lastRead_.commands, form_.Session().CommandList().Lines());
    if (c.same) {
        form_.AddLogLine(lang.ExtraText(Ext::CompareSame).arg(c.count));
        return;
    }
    const auto shown = [&](const QString& text) {
        return text.isEmpty() ? lang.ExtraText(Ext::NothingThere) : text;
    };
    form_.AddLogLine(
        lang.ExtraText(Ext::CompareDiffers).arg(c.firstDifference + 1).arg(shown(c.read), shown(c.listed)),
        true);
}
