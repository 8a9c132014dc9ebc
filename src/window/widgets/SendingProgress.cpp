#include "SendingProgress.h"

#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "session/controller/Sending.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>

TSendingProgress::TSendingProgress(const char* name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    label_ = new QLabel(this);
    label_->setObjectName(QString(name) + "Caption");
    label_->setTextFormat(Qt::PlainText);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QString(name) + "Bar");
    bar_->setTextVisible(false);
    bar_->setMinimumWidth(40);
    bar_->setMaximumHeight(14);
    row->addWidget(label_);
    row->addWidget(bar_, 1);
    hide();
}

void TSendingProgress::Follow(TSending& sending, const TLang& lang, QWidget* beside,
                              std::function<void(int)> highlight) {
    sending_ = &sending;
    lang_ = &lang;
    beside_ = beside;
    highlight_ = std::move(highlight);
    timer_ = new QTimer(this);
    timer_->setInterval(200);
    connect(timer_, &QTimer::timeout, this, &TSendingProgress::Update);
    connect(&sending, &TSending::Started, this, [this](int count) {
        if (count > 1)
            timer_->start();
    });
    connect(&sending, &TSending::Ended, this, [this] {
        timer_->stop();
        Hide();
    });
}

void TSendingProgress::Update() {
    const auto progress = sending_->Progress();
    if (!progress) {
        timer_->stop();
        Hide();
        return;
    }
    beside_->hide();
    Show(lang_->ExtraText(Ext::SendingProgress), lang_->ExtraText(Ext::SendingTimeLeft), progress->line,
         progress->count, progress->elapsedMs);
    highlight_(progress->line);
}

void TSendingProgress::Hide() {
    highlight_(0);
    hide();
    beside_->show();
}

void TSendingProgress::Show(const QString& caption, const QString& timeLeft, int line, int count,
                            qint64 elapsedMs) {
    bar_->setRange(0, std::max(count, 1));
    bar_->setValue(std::clamp(line, 0, std::max(count, 1)));
    QString text = caption.arg(line).arg(count).arg(ElapsedText(elapsedMs));
    const qint64 left = EstimatedLeftMs(line, count, elapsedMs);
    if (left >= 0)
        text += ", " + timeLeft.arg(ElapsedText(left));
    label_->setText(text);
    show();
}

qint64 TSendingProgress::EstimatedLeftMs(int line, int count, qint64 elapsedMs) {
    const int done = line - 1; // the lines answered
    if (done < 1 || count < line || elapsedMs < 0)
        return -1;
    // The line waiting for its answer is still to come, as are those after it.
    return elapsedMs * (count - done) / done;
}

QString TSendingProgress::Caption() const {
    return label_->text();
}

int TSendingProgress::Maximum() const {
    return bar_->maximum();
}

QString TSendingProgress::ElapsedText(qint64 elapsedMs) {
    const qint64 seconds = std::max<qint64>(elapsedMs, 0) / 1000;
    const qint64 h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    if (h > 0)
        return QString("%1:%2:%3").arg(h).arg(m, 2, 10, QChar('0')).arg(s, 2, 10, QChar('0'));
    return QString("%1:%2").arg(m).arg(s, 2, 10, QChar('0'));
}
