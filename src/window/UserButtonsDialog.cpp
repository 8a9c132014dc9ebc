#include "UserButtonsDialog.h"

#include "core/Dialogs.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "session/UserButtons.h"
#include "widgets/Design.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Design;

TUserButtonsDialog::TUserButtonsDialog(TUserButtons& buttons, QWidget* parent)
    : QDialog(parent), buttons_(buttons), work_(buttons.Buttons()) {
    setObjectName("FormUserButtons");
    setAttribute(Qt::WA_DeleteOnClose);
    const TLang& lang = buttons_.Lang();
    setWindowTitle(lang.ExtraText(Ext::UserButtonsTitle));
    auto* grid = new QGridLayout(this);
    lstButtons = Named(new QListWidget(this), "lstButtons");
    auto* listButtons = new QHBoxLayout;
    btnAdd = Button("btnAddUserButton", lang.ExtraText(Ext::UserButtonAdd), this);
    btnDelete = Button("btnDeleteUserButton", lang.ExtraText(Ext::UserButtonDelete), this);
    btnUp = Button("btnUserButtonUp", lang.ExtraText(Ext::UserButtonUp), this);
    btnDown = Button("btnUserButtonDown", lang.ExtraText(Ext::UserButtonDown), this);
    for (QPushButton* b : {btnAdd, btnDelete, btnUp, btnDown})
        listButtons->addWidget(b);
    auto* nameLabel = Label("lblUserButtonName", lang.ExtraText(Ext::UserButtonName), this);
    EditButtonName = Edit("EditButtonName", {}, TUserButtonsFile::MaxNameLength, this);
    nameLabel->setBuddy(EditButtonName);
    auto* linesLabel = Label("lblUserButtonLines", lang.ExtraText(Ext::UserButtonCommands), this);
    MemoButtonLines = Named(new QPlainTextEdit(this), "MemoButtonLines");
    linesLabel->setBuddy(MemoButtonLines);
    auto* okRow = new QHBoxLayout;
    btnOk = Button("btnOk", lang.ExtraText(Ext::DialogOk), this);
    btnCancel = Button("btnCancel", lang.ExtraText(Ext::DialogCancel), this);
    btnOk->setDefault(false);
    btnOk->setAutoDefault(false);
    okRow->addStretch(1);
    okRow->addWidget(btnOk);
    okRow->addWidget(btnCancel);

    grid->addWidget(lstButtons, 0, 0, 4, 1);
    grid->addLayout(listButtons, 4, 0);
    grid->addWidget(nameLabel, 0, 1);
    grid->addWidget(EditButtonName, 1, 1);
    grid->addWidget(linesLabel, 2, 1);
    grid->addWidget(MemoButtonLines, 3, 1, 2, 1);
    grid->addLayout(okRow, 5, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    resize(560, 360);

    connect(lstButtons, &QListWidget::currentRowChanged, this, [this](int row) {
        KeepEdits();
        ShowButton(row);
    });
    connect(EditButtonName, &QLineEdit::textEdited, this, [this](const QString& name) {
        if (QListWidgetItem* item = lstButtons->item(shown_))
            item->setText(name);
    });
    connect(btnAdd, &QPushButton::clicked, this, &TUserButtonsDialog::AddButton);
    connect(btnDelete, &QPushButton::clicked, this, &TUserButtonsDialog::DeleteButton);
    connect(btnUp, &QPushButton::clicked, this, [this] { MoveButton(-1); });
    connect(btnDown, &QPushButton::clicked, this, [this] { MoveButton(1); });
    connect(btnOk, &QPushButton::clicked, this, &TUserButtonsDialog::Accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    Refill(work_.isEmpty() ? -1 : 0);
}

void TUserButtonsDialog::KeepEdits() {
    if (shown_ < 0 || shown_ >= work_.size())
        return;
    work_[shown_].name = EditButtonName->text();
    QStringList lines;
    for (const QString& line : MemoButtonLines->toPlainText().split('\n')) {
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    }
    work_[shown_].lines = lines;
}

void TUserButtonsDialog::ShowButton(int row) {
    shown_ = row;
    const bool any = row >= 0 && row < work_.size();
    EditButtonName->setText(any ? work_[row].name : QString());
    MemoButtonLines->setPlainText(any ? work_[row].lines.join('\n') : QString());
    for (QWidget* w :
         std::initializer_list<QWidget*>{EditButtonName, MemoButtonLines, btnDelete, btnUp, btnDown})
        w->setEnabled(any);
}

void TUserButtonsDialog::Refill(int row) {
    const QSignalBlocker quiet(lstButtons);
    lstButtons->clear();
    for (const TUserButton& b : work_)
        lstButtons->addItem(b.name);
    lstButtons->setCurrentRow(row);
    ShowButton(row);
}

void TUserButtonsDialog::AddButton() {
    KeepEdits();
    if (work_.size() >= TUserButtonsFile::MaxButtons) {
        Dialogs().ShowError(
            buttons_.Lang().ExtraText(Ext::UserButtonTooMany).arg(TUserButtonsFile::MaxButtons));
        return;
    }
    work_.append({buttons_.Lang().ExtraText(Ext::UserButtonNewName).arg(work_.size() + 1), {}});
    Refill(int(work_.size()) - 1);
    EditButtonName->setFocus();
    EditButtonName->selectAll();
}

void TUserButtonsDialog::DeleteButton() {
    if (shown_ < 0 || shown_ >= work_.size())
        return;
    work_.removeAt(shown_);
    Refill(std::min(shown_, int(work_.size()) - 1));
}

void TUserButtonsDialog::MoveButton(int step) {
    KeepEdits();
    const int to = shown_ + step;
    if (shown_ < 0 || to < 0 || to >= work_.size())
        return;
    work_.swapItemsAt(shown_, to);
    Refill(to);
}

void TUserButtonsDialog::Accept() {
    KeepEdits();
    if (const QString why = buttons_.Save(work_); !why.isEmpty()) {
        Dialogs().ShowError(why);
        return;
    }
    accept();
}
