#include "MachineControls.h"

#include "UserButtonsDialog.h"
#include "core/Dialogs.h"
#include "core/ShownText.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "session/OperatorSettings.h"
#include "session/UserButtons.h"
#include "session/controller/MachineStop.h"
#include "session/controller/RunningChannels.h"
#include "widgets/Design.h"
#include "widgets/Mnemonics.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

TMachineControls::TMachineControls(const TRooms& rooms, QMenuBar* bar, QWidget* window)
    : QObject(window), rooms_(rooms), bar_(bar), window_(window) {
    // After "Info": the described menus keep their places.
    mmControl = Design::Named(bar->addMenu(QString()), "mmControl");
    mmStopAll = Design::Named(mmControl->addAction(QString()), "mmStopAll");
    mmStopAll->setShortcut(QKeySequence(Qt::Key_F12));
    // Also while the read-back or the preview window has the focus.
    mmStopAll->setShortcutContext(Qt::ApplicationShortcut);
    mmControl->addSeparator();
    for (int n = 1; n <= 3; ++n) {
        QMenu* menu = mmControl->addMenu(QString());
        menu->setObjectName(QString("mmChannel%1").arg(n));
        menu->menuAction()->setObjectName(QString("mmChannel%1Menu").arg(n));
        const struct {
            const char* name;
            TMachineStop::Action action;
        } entries[] = {{"Start", TMachineStop::Action::Start},
                       {"Pause", TMachineStop::Action::Pause},
                       {"Stop", TMachineStop::Action::Stop}};
        for (const auto& e : entries) {
            QAction* action = menu->addAction(QString());
            action->setObjectName(QString("mmChannel%1%2").arg(n).arg(e.name));
            connect(action, &QAction::triggered, this, [this, n, a = e.action] { ChannelAction(n, int(a)); });
        }
        // What fits what is known of the coordinate now (unknown: each, after a question).
        connect(menu, &QMenu::aboutToShow, this, [this, n, menu] {
            const QList<QAction*> actions = menu->actions();
            for (int i = 0; i < actions.size(); ++i)
                actions[i]->setEnabled(rooms_.stop.Allows(n, TMachineStop::Action(i)));
        });
        channelMenus_[size_t(n - 1)] = menu;
    }
    mmControl->addSeparator();
    mmUserButtons = Design::Named(mmControl->addAction(QString()), "mmUserButtons");
    mmControl->addSeparator();
    connect(mmStopAll, &QAction::triggered, &rooms_.stop, &TMachineStop::StopAll);
    connect(mmUserButtons, &QAction::triggered, this, &TMachineControls::EditButtons);

    row_ = Design::Named(new QWidget(window), "UserButtonsRow");
    rowLayout_ = new QHBoxLayout(row_);
    rowLayout_->setContentsMargins(0, 0, 0, 0);
    rowLayout_->setSpacing(2);
    btnStopAll = Design::Button("btnStopAll", {}, row_);
    QFont bold = btnStopAll->font();
    bold.setBold(true);
    btnStopAll->setFont(bold);
    rowLayout_->addWidget(btnStopAll);
    rowLayout_->addStretch(1);
    connect(btnStopAll, &QPushButton::clicked, &rooms_.stop, &TMachineStop::StopAll);
    connect(&rooms_.buttons, &TUserButtons::Changed, this, &TMachineControls::Rebuild);
    connect(&rooms_.options, &TOperatorSettings::ShownValuesChanged, this, &TMachineControls::ApplyTexts);
    // Asked once the line has opened, from the event loop: never inside the opening.
    connect(&rooms_.running, &TRunningChannels::RecordingLeftOpen, this,
            &TMachineControls::AskToEndLeftRecording, Qt::QueuedConnection);
    Rebuild();
    if (!rooms_.buttons.Problem().isEmpty())
        Dialogs().ShowError(rooms_.buttons.Problem());
}

void TMachineControls::ApplyTexts() {
    const TLang& lang = rooms_.options.Lang();
    mmControl->setTitle(lang.ExtraText(Ext::ControlMenu));
    mmStopAll->setText(lang.ExtraText(Ext::StopAll));
    mmUserButtons->setText(lang.ExtraText(Ext::EditUserButtons));
    btnStopAll->setText(lang.ExtraText(Ext::StopAll));
    btnStopAll->setToolTip(lang.ExtraText(Ext::StopAllHint));
    for (int n = 1; n <= 3; ++n) {
        QMenu* menu = channelMenus_[size_t(n - 1)];
        menu->setTitle(lang.ExtraText(Ext::ChannelMenu).arg(n));
        const QList<QAction*> actions = menu->actions();
        const int texts[] = {Ext::ChannelStart, Ext::ChannelPause, Ext::ChannelStop};
        for (int i = 0; i < 3; ++i)
            actions[i]->setText(
                QString("%1 (%2%3)").arg(lang.ExtraText(texts[i]), i == 1 ? "PS" : "ST").arg(n));
    }
    const QList<TUserButton>& buttons = rooms_.buttons.Buttons();
    for (int i = 0; i < runButtons_.size() && i < buttons.size(); ++i) {
        const QString hint = lang.ExtraText(Ext::UserButtonHint)
                                 .arg(buttons[i].Commands().join(", "))
                                 .arg(i < 9 ? QString::number(i + 1) : QStringLiteral("-"));
        runButtons_[i]->setToolTip(hint);
    }
    // The new captions take their marks among the menus' others.
    Mnemonics::Apply(bar_);
}

void TMachineControls::Rebuild() {
    qDeleteAll(runButtons_);
    qDeleteAll(runActions_);
    runButtons_.clear();
    runActions_.clear();
    const QList<TUserButton>& buttons = rooms_.buttons.Buttons();
    for (int i = 0; i < buttons.size(); ++i) {
        // The name as it stands: a '&' in it is shown, not taken for a mnemonic.
        const QString caption = QString(buttons[i].name).replace('&', "&&");
        auto* button =
            Design::Button(QString("btnUserButton%1").arg(i + 1).toLatin1().constData(), caption, row_);
        rowLayout_->insertWidget(i + 1, button);
        connect(button, &QPushButton::clicked, this, [this, i] { Run(i); });
        runButtons_ << button;
        QAction* action = mmControl->addAction(caption);
        action->setObjectName(QString("mmUserButton%1").arg(i + 1));
        if (i < 9)
            action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i)));
        connect(action, &QAction::triggered, this, [this, i] { Run(i); });
        runActions_ << action;
    }
    ApplyTexts();
}

void TMachineControls::Run(int index) {
    if (const QString why = rooms_.buttons.Run(index); !why.isEmpty())
        Dialogs().ShowError(why);
}

void TMachineControls::EditButtons() {
    auto* dialog = new TUserButtonsDialog(rooms_.buttons, window_);
    dialog->open();
}

void TMachineControls::ChannelAction(int channel, int action) {
    TMachineStop::TOutcome outcome = rooms_.stop.ChannelAction(channel, TMachineStop::Action(action));
    if (outcome.kind == TMachineStop::TOutcome::Ask) {
        if (!Dialogs().Confirm(outcome.text))
            return;
        outcome = rooms_.stop.ChannelAction(channel, TMachineStop::Action(action), true);
    }
    if (outcome.kind == TMachineStop::TOutcome::Refused)
        Dialogs().ShowError(outcome.text);
}

void TMachineControls::AskToEndLeftRecording(int channel, const QStringList& lines) {
    if (rooms_.running.LeftRecording() != channel)
        return; // answered, or ended, meanwhile
    const QString text = rooms_.options.Lang()
                             .ExtraText(Ext::EndLeftRecordingQuestion)
                             .arg(channel)
                             .arg(lines.size())
                             .arg(Shown(lines.join(", "), 200));
    rooms_.stop.EndLeftRecording(Dialogs().Confirm(text));
}

void TMachineControls::OfferOnIndicators(const std::array<QWidget*, 3>& indicators) {
    for (int n = 1; n <= 3; ++n) {
        QWidget* indicator = indicators[size_t(n - 1)];
        indicator->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(
            indicator, &QWidget::customContextMenuRequested, this,
            [this, n, indicator](const QPoint& at) { ChannelMenu(n)->popup(indicator->mapToGlobal(at)); });
    }
}
