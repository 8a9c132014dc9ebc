#include "UserButtons.h"

#include "controller/Sending.h"
#include "core/AppError.h"
#include "core/ProgramPaths.h"
#include "core/ShownText.h"
#include "editor/TypedCommand.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"

TUserButtons::TUserButtons(const TProgramPaths& paths, const TLang& lang, const TKVTCommands& commands,
                           TSending& sending)
    : lang_(lang), commands_(commands), sending_(sending),
      fileName_(paths.DataFolder() + "/user-buttons.txt") {
    const TUserButtonsFile::TRead read = TUserButtonsFile::Read(fileName_, lang_);
    buttons_ = read.buttons;
    if (read.damagedLine >= 0) {
        problem_ =
            lang_.ExtraText(Ext::UserButtonsDamaged).arg(fileName_).arg(read.damagedLine).arg(read.damage);
        damage_ =
            lang_.ExtraText(Ext::UserButtonsDamagedCli).arg(fileName_).arg(read.damagedLine).arg(read.damage);
    }
}

int TUserButtons::IndexOf(const QString& name) const {
    for (int i = 0; i < buttons_.size(); ++i) {
        if (buttons_[i].name.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString TUserButtons::Check(const QList<TUserButton>& buttons) const {
    return TUserButtonsFile::Check(buttons, commands_, lang_);
}

QString TUserButtons::Save(const QList<TUserButton>& buttons) {
    QList<TUserButton> kept = buttons;
    for (TUserButton& button : kept)
        button.name = button.name.trimmed();
    if (const QString why = Check(kept); !why.isEmpty())
        return why;
    if (readOnly_)
        return lang_.ExtraText(Ext::UserButtonsNotSaved).arg(lang_.ExtraText(Ext::FolderReadOnly));
    try {
        TUserButtonsFile::Write(fileName_, kept);
    } catch (const EAppError& error) {
        return lang_.ExtraText(Ext::UserButtonsNotSaved).arg(error.Text());
    }
    buttons_ = kept;
    problem_.clear();
    emit Changed();
    return {};
}

QString TUserButtons::Run(int index) {
    if (index < 0 || index >= buttons_.size())
        return {};
    const TUserButton& button = buttons_[index];
    // A button the file brought may hold what the controller would not take: it is not sent.
    if (const QString why = Check({button}); !why.isEmpty())
        return why;
    if (sending_.IsSending())
        return lang_.ExtraText(Ext::UserButtonBusy).arg(Shown(button.name));
    emit Ran(button.name);
    if (sending_.Send(button.Commands(), TSending::Kind::OwnLines) != TSending::Start::Started)
        return lang_.ExtraText(Ext::UserButtonBusy).arg(Shown(button.name));
    return {};
}
