#include "UnitChanRead.h"

#include "core/Dialogs.h"
#include "core/Settings.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "session/OperatorSettings.h"
#include "session/ReadBackToList.h"
#include "widgets/Design.h"
#include "widgets/StringGrid.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {
// `text` with a line break after the first '*' beyond every `width` characters.
QString WrappedAtTokens(const QString& text, qsizetype width = 200) {
    QString wrapped;
    wrapped.reserve(text.size() + text.size() / width + 1);
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        wrapped += text[i];
        if (text[i] == '*' && i + 1 - lineStart >= width && i + 1 < text.size()) {
            wrapped += '\n';
            lineStart = i + 1;
        }
    }
    return wrapped;
}

constexpr TCaptionSlot kUnitChanReadSlots[] = {{12, "TFormChanRead", -1}, {13, "btnRead", -1},
                                               {14, "chbAddToEnd", -1},   {15, "chbCodes", -1},
                                               {16, "btnAddToList", -1},  {17, "StringGridRead", 2}};
} // namespace

TFormChanRead::TFormChanRead(TOperatorSettings& options, TReadingBack& reading, TReadBackToList& toList,
                             QWidget* parent)
    : TTranslatedDialog(options, {"TFormChanRead", "Read executing program", kUnitChanReadSlots, 17, false},
                        parent),
      reading_(reading), toList_(toList), readed_(std::make_unique<TCommandList>("MemoReaded")) {
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
    MemoChan = new QPlainTextEdit(this);
    MemoChan->setObjectName("MemoChan");
    MemoChan->setReadOnly(true);
    grid->setVerticalSpacing(2);
    // The described controls down the left; beside them the grid with, under it, which program
    // to read, the comparison and its verdict: the window keeps its described heights (264 with
    // the codes, 200 without).
    auto* left = new QVBoxLayout;
    left->setSpacing(2);
    for (QWidget* w : std::initializer_list<QWidget*>{btnRead, chbAddToEnd, chbCodes, btnAddToList})
        left->addWidget(w);
    left->addStretch(1);
    lblReadWhich = Design::Label("lblReadWhich", {}, this);
    cbReadWhich = Design::Named(new QComboBox(this), "cbReadWhich");
    lblReadWhich->setBuddy(cbReadWhich);
    // Once the operator has chosen, the choice stays (the default follows Direct Control).
    connect(cbReadWhich, &QComboBox::currentIndexChanged, this, [this] { whichChosen_ = true; });
    lblCompareVerdict = Design::Label("lblCompareVerdict", {}, this);
    lblCompareVerdict->setMinimumWidth(1);
    lblCompareVerdict->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* right = new QGridLayout;
    right->setVerticalSpacing(2);
    right->addWidget(StringGridRead, 0, 0, 1, 2);
    right->addWidget(lblReadWhich, 1, 0);
    right->addWidget(cbReadWhich, 1, 1);
    right->addWidget(btnCompare, 2, 0);
    right->addWidget(lblCompareVerdict, 2, 1);
    right->setRowStretch(0, 1);
    right->setColumnStretch(1, 1);
    grid->addLayout(left, 0, 0);
    grid->addLayout(right, 0, 1);
    grid->setColumnStretch(1, 1);
    grid->addWidget(MemoChan, 1, 0, 1, 2);
    connect(btnRead, &QPushButton::clicked, this, &TFormChanRead::btnReadClick);
    connect(chbCodes, &QCheckBox::clicked, this, &TFormChanRead::chbCodesClick);
    connect(btnAddToList, &QPushButton::clicked, this, &TFormChanRead::btnAddToListClick);
    connect(btnCompare, &QPushButton::clicked, this, &TFormChanRead::btnCompareClick);
    // Taken in its own turn of the event loop: what the read's end handled first and this
    // window's parse and listing are two pauses of the window, not one.
    connect(&reading, &TReadingBack::Done, this, &TFormChanRead::ReadDone, Qt::QueuedConnection);
    // Rows may be dragged as in the main list: each command line follows its description.
    connect(StringGridRead, &TStringGrid::RowMoved, this, [this](int from, int to) {
        if (from < 1 || from > readed_->Count())
            return;
        readed_->Drag(from - 1, to - 1);
        if (to <= readed_->Count())
            StringGridRead->SetRow(to);
    });
    StringGridRead->SetCell(0, 0, QString::fromUtf8("№"));
    FormCreate();
}

TFormChanRead::~TFormChanRead() {
    // A read under way is abandoned at once: the wait ends, its outcome is never shown.
    reading_.Cancel();
}

void TFormChanRead::Fill() {
    const TLang& lang = Lang();
    btnCompare->setText(lang.ExtraText(Ext::CompareWithList));
    lblReadWhich->setText(lang.ExtraText(Ext::ReadWhich));
    const QSignalBlocker quiet(cbReadWhich);
    cbReadWhich->clear();
    for (int channel = 1; channel <= 3; ++channel)
        cbReadWhich->addItem(lang.ExtraText(Ext::ChannelName).arg(channel), channel);
    cbReadWhich->addItem(lang.ExtraText(Ext::ReadBufferItem), 0);
    StringGridRead->SetShowCodes(Options().Settings().ShowCodes);
}

void TFormChanRead::closeEvent(QCloseEvent* event) {
    reading_.Cancel();
    QDialog::closeEvent(event);
}

void TFormChanRead::btnReadClick() {
    const TLang& lang = Lang();
    // As described: channel 1, or the buffer with Direct Control, until the operator chooses.
    if (!whichChosen_) {
        const QSignalBlocker quiet(cbReadWhich);
        cbReadWhich->setCurrentIndex(Options().Settings().DirectControl ? 3 : 0);
    }
    switch (reading_.Begin(cbReadWhich->currentData().toInt())) {
    case TReadingBack::Start::RecordingMode:
        Dialogs().ShowError(lang.ExtraText(Ext::ReadingImpossible));
        return;
    case TReadingBack::Start::NotInStandby:
        Dialogs().ShowError(lang.Message(Msg::NotInStandby));
        return;
    case TReadingBack::Start::Started:
    case TReadingBack::Start::AlreadyReading:
        btnRead->setEnabled(false);
        return;
    }
}

void TFormChanRead::ReadDone(TChanReadThread::Outcome outcome, const QString& text) {
    btnRead->setEnabled(true);
    if (outcome != TChanReadThread::Outcome::Read)
        return;
    if (!chbAddToEnd->isChecked())
        MemoChan->clear();
    // A read is one line of the memo; a long one is shown wrapped at its tokens' ends, so that
    // no line of hundreds of kilobytes has to be laid out (the parse reads the lines as one
    // stream, as ever).
    MemoChan->appendPlainText(WrappedAtTokens(text));
    lastRead_ = reading_.Parse(MemoChan->toPlainText().split('\n'), *readed_);
    read_ = true;
    lblCompareVerdict->clear();
    ShowMessages(lastRead_.refusals);
}

void TFormChanRead::chbCodesClick() {
    const bool show = chbCodes->isChecked();
    MemoChan->setVisible(show);
    layout()->activate(); // the minimum without the memo, before the described height is set
    resize(width(), show ? 264 : 200);
}

void TFormChanRead::btnAddToListClick() {
    toList_.TakeOver(reading_, *readed_, lastRead_);
}

void TFormChanRead::btnCompareClick() {
    // The verdict is shown here too, not only in the log behind the window.
    if (!read_) {
        ShowVerdict(Lang().ExtraText(Ext::NothingReadYet), true);
        return;
    }
    const TReadingBack::TVerdict verdict = toList_.Compare(reading_, lastRead_);
    ShowVerdict(verdict.text, !verdict.comparison.same);
}

void TFormChanRead::ShowVerdict(const QString& text, bool red) {
    lblCompareVerdict->setText(text);
    lblCompareVerdict->setToolTip(text);
    lblCompareVerdict->setStyleSheet(red ? "color: #c00000" : QString());
}
