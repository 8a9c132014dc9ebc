// The main window's sending controls: "Send" hands the command list to the session's
// transmission; "Stop sending" (or Esc) ends it after the line being sent; the status panel
// shows how far a long transmission is.
#include "Unit1.h"
#include "core/Dialogs.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "panels/ExtendedPanel.h"
#include "session/Session.h"
#include "widgets/LineList.h"
#include "widgets/Panel.h"
#include "widgets/SendingProgress.h"
#include "widgets/StringGrid.h"

#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

namespace {
// How often the progress is redrawn; a transmission shorter than this never shows it.
constexpr int progressIntervalMs = 200;
} // namespace

void TForm1::ConnectSendingHandlers() {
    connect(ExtendedPanel->btnRunTR, &QPushButton::clicked, this, &TForm1::btnRunTRClick);
    connect(ExtendedPanel->btnStopSending, &QPushButton::clicked, this, &TForm1::btnStopSendingClick);
    // F5 is "Send" where the button can be pressed (a button's own shortcut would be replaced
    // by the mnemonic of each new caption).
    auto* send = new QShortcut(QKeySequence(Qt::Key_F5), this);
    send->setObjectName("SendShortcut");
    connect(send, &QShortcut::activated, this, [this] {
        if (ExtendedPanel->btnRunTR->isVisible() && ExtendedPanel->btnRunTR->isEnabled())
            ExtendedPanel->btnRunTR->click();
    });
    // Esc stops sending in either mode, wherever the focus is in this window.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setObjectName("StopSendingShortcut");
    connect(escape, &QShortcut::activated, this, &TForm1::btnStopSendingClick);

    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(progressIntervalMs);
    connect(progressTimer_, &QTimer::timeout, this, &TForm1::UpdateSendingProgress);
    connect(session_.get(), &TSession::TransmissionStarted, this, &TForm1::TransmissionStarted);
    connect(session_.get(), &TSession::TransmissionEnded, this, &TForm1::TransmissionEnded);
}

void TForm1::btnRunTRClick() {
    // A program that would take an axis beyond its travel, or a list that would leave the
    // controller recording, is written only when the operator says so (No is the default).
    for (const QString& question : {Session().TravelQuestion(), Session().OpenRecordingQuestion()}) {
        if (!question.isEmpty() && !Dialogs().Confirm(question, false))
            return;
    }
    Session().SendCommandList();
}

void TForm1::btnStopSendingClick() {
    Session().StopSending();
}

void TForm1::TransmissionStarted(int count) {
    ExtendedPanel->MemoRead->Clear();
    ExtendedPanel->btnStopSending->setEnabled(true);
    if (count > 1)
        progressTimer_->start();
}

void TForm1::TransmissionEnded() {
    progressTimer_->stop();
    HideSendingProgress();
    ExtendedPanel->btnStopSending->setEnabled(Session().Transmitting());
}

void TForm1::UpdateSendingProgress() {
    const auto progress = Session().Progress();
    if (!progress) {
        progressTimer_->stop();
        HideSendingProgress();
        return;
    }
    PanelPortProp->CaptionLabel()->hide();
    const TLang& lang = Session().Lang();
    SendingProgress->Show(lang.ExtraText(Ext::SendingProgress), lang.ExtraText(Ext::SendingTimeLeft),
                          progress->line, progress->count, progress->elapsedMs);
    // The line on its way is highlighted in the list it came from.
    if (progress->line <= Session().CommandList().Count())
        ExtendedPanel->StringGridSend->SetSendingRow(progress->line);
}

void TForm1::HideSendingProgress() {
    ExtendedPanel->StringGridSend->SetSendingRow(0);
    SendingProgress->hide();
    PanelPortProp->CaptionLabel()->show();
}
