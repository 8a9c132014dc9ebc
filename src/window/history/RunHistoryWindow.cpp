#include "RunHistoryWindow.h"

#include "HistoryTable.h"
#include "TimelineView.h"
#include "core/Dialogs.h"
#include "journal/JournalFiles.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr qint64 kZooms[] = {10 * 60000LL, 3600000LL, 86400000LL, 7 * 86400000LL, 28 * 86400000LL};

qint64 JournalBytes(const TJournalFiles& files) {
    qint64 total = 0;
    for (const QString& name : files.Files())
        total += QFileInfo(files.Folder() + '/' + name).size();
    return total;
}

} // namespace

TRunHistoryWindow::TRunHistoryWindow(const TJournalFiles& files, const TLang& lang, QWidget* parent)
    : QDialog(parent), files_(files), lang_(lang), history_(files) {
    setObjectName("FormRunHistory");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* column = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    column->addLayout(bar);
    const auto named = [this](auto* widget, const char* name) {
        widget->setObjectName(name);
        return widget;
    };
    cbZoom = named(new QComboBox(this), "cbZoom");
    cbChannel = named(new QComboBox(this), "cbChannel");
    cbKind = named(new QComboBox(this), "cbKind");
    chbEveryDay = named(new QCheckBox(this), "chbEveryDay");
    deDay = named(new QDateEdit(QDate::currentDate(), this), "deDay");
    deDay->setCalendarPopup(true);
    chbFollow = named(new QCheckBox(this), "chbFollow");
    btnExport = named(new QPushButton(this), "btnExport");
    lblCount = named(new QLabel(this), "lblCount");
    for (QWidget* w :
         std::initializer_list<QWidget*>{cbZoom, cbChannel, cbKind, chbEveryDay, deDay, chbFollow, btnExport})
        bar->addWidget(w);
    bar->addStretch(1);
    bar->addWidget(lblCount);
    timeline_ = new TTimelineView(this);
    timeline_->SetHistory(&history_);
    column->addWidget(timeline_);
    sbTime = named(new QScrollBar(Qt::Horizontal, this), "sbTime");
    column->addWidget(sbTime);
    table_ = new THistoryTable(this);
    tblEvents = named(new QTableView(this), "tblEvents");
    tblEvents->setModel(table_);
    tblEvents->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblEvents->setSelectionMode(QAbstractItemView::SingleSelection);
    tblEvents->horizontalHeader()->setStretchLastSection(true);
    tblEvents->verticalHeader()->hide();
    tblEvents->setWordWrap(false);
    // Wide enough for a time with its milliseconds (measured, not fitted to a million rows).
    tblEvents->setColumnWidth(0, tblEvents->fontMetrics().horizontalAdvance("8888-88-88 88:88:88.888") + 16);
    column->addWidget(tblEvents, 1);
    chbEveryDay->setChecked(true);
    deDay->setEnabled(false);
    chbFollow->setChecked(true);
    ApplyTexts();
    cbZoom->setCurrentIndex(2); // a day

    connect(cbZoom, &QComboBox::currentIndexChanged, this, &TRunHistoryWindow::SpanChanged);
    connect(cbChannel, &QComboBox::currentIndexChanged, this, &TRunHistoryWindow::Filter);
    connect(cbKind, &QComboBox::currentIndexChanged, this, &TRunHistoryWindow::Filter);
    connect(chbEveryDay, &QCheckBox::toggled, this, [this](bool every) {
        deDay->setEnabled(!every);
        Filter();
    });
    connect(deDay, &QDateEdit::dateChanged, this, &TRunHistoryWindow::Filter);
    connect(chbFollow, &QCheckBox::toggled, this, &TRunHistoryWindow::SpanChanged);
    connect(sbTime, &QScrollBar::sliderMoved, this, [this] { chbFollow->setChecked(false); });
    connect(sbTime, &QScrollBar::valueChanged, this, [this](int value) {
        if (!chbFollow->isChecked())
            timeline_->SetSpan(qint64(value) * 1000 - ZoomMs(), qint64(value) * 1000);
    });
    connect(tblEvents->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TRunHistoryWindow::Selected);
    connect(btnExport, &QPushButton::clicked, this, [this] {
        const QString name = Dialogs().SaveFileName(
            files_.Folder(),
            "run-history_" + QDateTime::currentDateTime().toString("yyyy-MM-dd_HH-mm") + ".csv",
            lang_.ExtraText(Ext::HistoryExport));
        if (name.isEmpty())
            return;
        if (const QString why = Export(name); !why.isEmpty())
            Dialogs().ShowError(lang_.ExtraText(Ext::HistoryNotWritten).arg(why));
    });
    timer_ = new QTimer(this);
    timer_->setInterval(2000);
    connect(timer_, &QTimer::timeout, this, &TRunHistoryWindow::Tick);
    timer_->start();
    resize(900, 600);
    Reload();
}

TRunHistoryWindow::~TRunHistoryWindow() = default;

QAction* TRunHistoryWindow::AddToMenu(QMenu* menu, const TJournalFiles& files, const TLang& lang,
                                      QWidget* window) {
    auto* action = menu->addAction(lang.ExtraText(Ext::RunHistoryTitle));
    action->setObjectName("mmRunHistory");
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    window->addAction(action);
    auto open = std::make_shared<QPointer<TRunHistoryWindow>>();
    QObject::connect(action, &QAction::triggered, window, [open, &files, &lang, window] {
        if (!*open) {
            *open = new TRunHistoryWindow(files, lang, window);
            (*open)->show();
        }
        (*open)->raise();
        (*open)->activateWindow();
    });
    return action;
}

void TRunHistoryWindow::ApplyTexts() {
    setWindowTitle(lang_.ExtraText(Ext::RunHistoryTitle));
    const auto refill = [](QComboBox* box, const QStringList& items) {
        const int at = std::max(0, box->currentIndex());
        const QSignalBlocker block(box);
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(std::min(at, int(items.size()) - 1));
    };
    refill(cbZoom, lang_.ExtraText(Ext::HistoryZooms).split(';'));
    QStringList channels{lang_.ExtraText(Ext::HistoryAllCoordinates)};
    for (int n = 1; n <= 3; ++n)
        channels << lang_.ExtraText(Ext::HistoryLane).arg(n);
    refill(cbChannel, channels);
    const QStringList kinds = lang_.ExtraText(Ext::HistoryKinds).split(';');
    refill(cbKind, QStringList{lang_.ExtraText(Ext::HistoryAllEvents)} + kinds);
    chbEveryDay->setText(lang_.ExtraText(Ext::HistoryEveryDay));
    chbFollow->setText(lang_.ExtraText(Ext::HistoryFollow));
    btnExport->setText(lang_.ExtraText(Ext::HistoryExport));
    timeline_->SetTexts(lang_.ExtraText(Ext::HistoryLane), lang_.ExtraText(Ext::HistoryLegend).split(';'));
    table_->SetTexts(lang_.ExtraText(Ext::HistoryColumns).split(';'), kinds);
    int widest = 0;
    for (const QString& kind : kinds)
        widest = std::max(widest, tblEvents->fontMetrics().horizontalAdvance(kind));
    tblEvents->setColumnWidth(2, widest + 16);
    // What a screen reader names the boxes by: what they choose.
    cbZoom->setAccessibleName(lang_.ExtraText(Ext::HistoryZooms).replace(';', ", "));
    cbChannel->setAccessibleName(lang_.ExtraText(Ext::HistoryAllCoordinates));
    cbKind->setAccessibleName(lang_.ExtraText(Ext::HistoryAllEvents));
    deDay->setAccessibleName(lang_.ExtraText(Ext::HistoryEveryDay));
    sbTime->setAccessibleName(lang_.ExtraText(Ext::RunHistoryTitle));
}

void TRunHistoryWindow::Reload() {
    journalBytes_ = JournalBytes(files_);
    history_.Load(QDateTime::currentDateTime().addDays(-MaxDays));
    Filter();
    SpanChanged();
}

void TRunHistoryWindow::Filter() {
    const int kind = cbKind->currentIndex() - 1;
    table_->Show(&history_, cbChannel->currentIndex(),
                 kind < 0 ? std::nullopt : std::optional(TJournalHistory::Kind(kind)),
                 chbEveryDay->isChecked() ? QDate() : deDay->date());
    QString count = lang_.ExtraText(Ext::HistoryShown).arg(table_->rowCount());
    if (history_.Truncated())
        count += "  " + lang_.ExtraText(Ext::HistoryTruncated).arg(TJournalHistory::MaxEvents);
    lblCount->setText(count);
    if (chbFollow->isChecked())
        tblEvents->scrollToBottom();
}

qint64 TRunHistoryWindow::ZoomMs() const {
    return kZooms[std::clamp(cbZoom->currentIndex(), 0, int(std::size(kZooms)) - 1)];
}

void TRunHistoryWindow::SpanChanged() {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const qint64 first = history_.Events().empty() ? now : history_.Events().front().ms;
    const QSignalBlocker block(sbTime);
    sbTime->setRange(int(std::min(first + ZoomMs(), now) / 1000), int(now / 1000));
    sbTime->setPageStep(int(ZoomMs() / 1000));
    sbTime->setSingleStep(std::max(1, int(ZoomMs() / 10000)));
    const qint64 end = chbFollow->isChecked() ? now : std::min(now, timeline_->To());
    sbTime->setValue(int(end / 1000));
    timeline_->SetSpan(end - ZoomMs(), end);
}

void TRunHistoryWindow::Selected() {
    const TJournalHistory::TEvent* e = table_->EventAt(tblEvents->currentIndex().row());
    if (!e)
        return;
    timeline_->SetHighlight(e->channel, history_.IntervalAt(e->channel, e->ms));
    if (!chbFollow->isChecked() || e->ms < timeline_->From()) {
        chbFollow->setChecked(false);
        const qint64 end = e->ms + ZoomMs() / 2;
        timeline_->SetSpan(end - ZoomMs(), end);
        const QSignalBlocker block(sbTime);
        sbTime->setValue(int(end / 1000));
    }
}

void TRunHistoryWindow::Tick() {
    if (!chbFollow->isChecked())
        return;
    if (JournalBytes(files_) != journalBytes_)
        Reload();
    else
        SpanChanged();
}

QString TRunHistoryWindow::Export(const QString& fileName) const {
    const QFileInfo info(fileName);
    if (info.isSymLink() || (info.exists() && !info.isFile()))
        return lang_.ExtraText(Ext::NotARegularFile);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    file.write(history_.Csv(table_->Rows()));
    if (!file.commit())
        return file.errorString();
    return {};
}
