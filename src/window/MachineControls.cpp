#include "MachineControls.h"

#include "UserButtonsDialog.h"
#include "core/Dialogs.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "session/MachineStop.h"
#include "session/OperatorSettings.h"
#include "session/UserButtons.h"
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
    Rebuild();
    if (!rooms_.buttons.Problem().isEmpty())
        Dialogs().ShowMessage(rooms_.buttons.Problem());
}

void TMachineControls::ApplyTexts() {
    const TLang& lang = rooms_.options.Lang();
    mmControl->setTitle(lang.ExtraText(Ext::ControlMenu));
    mmStopAll->setText(lang.ExtraText(Ext::StopAll));
    mmUserButtons->setText(lang.ExtraText(Ext::EditUserButtons));
    btnStopAll->setText(lang.ExtraText(Ext::StopAll));
    btnStopAll->setToolTip(lang.ExtraText(Ext::StopAllHint));
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
        Dialogs().ShowMessage(why);
}

void TMachineControls::EditButtons() {
    auto* dialog = new TUserButtonsDialog(rooms_.buttons, window_);
    dialog->open();
}
