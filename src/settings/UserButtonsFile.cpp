#include "UserButtonsFile.h"

#include "TextFileLines.h"
#include "core/EncodStr.h"
#include "core/Folders.h"
#include "core/ShownText.h"
#include "editor/TypedCommand.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"

#include <QFileInfo>

QStringList TUserButton::Commands() const {
    QStringList commands;
    for (const QString& line : lines) {
        const QString text = line.trimmed();
        if (!text.isEmpty() && !text.startsWith('#'))
            commands << TTypedCommand::StepsLine(text);
    }
    return commands;
}

namespace {

// The reason a file as a whole cannot be read, in the operator's words.
QString FaultText(TTextFileLines::Fault fault, const TLang& lang) {
    switch (fault) {
    case TTextFileLines::Fault::TooLarge:
        return lang.ExtraText(Ext::UserButtonsTooLarge).arg(TUserButtonsFile::MaxBytes / 1024);
    case TTextFileLines::Fault::NotText:
    case TTextFileLines::Fault::NotAFile:
        return lang.ExtraText(Ext::UserButtonsNotText);
    default:
        return lang.ExtraText(Ext::UserButtonsUnreadable);
    }
}

// Why a name may not be a button's, or empty.
QString NameFault(const QString& name, int number, const QList<TUserButton>& before, const TLang& lang) {
    if (name.isEmpty())
        return lang.ExtraText(Ext::UserButtonNoName).arg(number);
    if (name.size() > TUserButtonsFile::MaxNameLength)
        return lang.ExtraText(Ext::UserButtonLongName)
            .arg(Shown(name.left(60)))
            .arg(TUserButtonsFile::MaxNameLength);
    for (const TUserButton& b : before) {
        if (b.name.compare(name, Qt::CaseInsensitive) == 0)
            return lang.ExtraText(Ext::UserButtonSameName).arg(Shown(name));
    }
    if (number > TUserButtonsFile::MaxButtons)
        return lang.ExtraText(Ext::UserButtonTooMany).arg(TUserButtonsFile::MaxButtons);
    return {};
}

} // namespace

TUserButtonsFile::TRead TUserButtonsFile::Read(const QString& fileName, const TLang& lang) {
    TRead read;
    const TTextFileLines file = TTextFileLines::Read(fileName, MaxBytes);
    if (file.fault == TTextFileLines::Fault::Missing)
        return read;
    if (file.fault != TTextFileLines::Fault::None) {
        read.damagedLine = 0;
        read.damage = FaultText(file.fault, lang);
        return read;
    }
    QList<TUserButton> buttons;
    // `inButton`: the damage is a line of the last button, which is then not taken.
    const auto damaged = [&](int line, const QString& why, bool inButton = false) {
        read.damagedLine = line;
        read.damage = why;
        if (inButton)
            buttons.removeLast();
        read.buttons = buttons;
        return read;
    };
    for (int i = 0; i < file.lines.size(); ++i) {
        const QString line = file.lines[i].trimmed();
        if (line.startsWith('[') && line.endsWith(']')) {
            const QString name = line.mid(1, line.size() - 2).trimmed();
            const QString fault = NameFault(name, int(buttons.size()) + 1, buttons, lang);
            if (!fault.isEmpty())
                return damaged(i + 1, fault);
            buttons.append({name, {}});
        } else if (buttons.isEmpty()) {
            if (!line.isEmpty() && !line.startsWith('#'))
                return damaged(i + 1, lang.ExtraText(Ext::UserButtonNoSection));
        } else if (!line.isEmpty()) {
            if (buttons.last().lines.size() >= MaxLines)
                return damaged(
                    i + 1,
                    lang.ExtraText(Ext::UserButtonTooLong).arg(Shown(buttons.last().name)).arg(MaxLines),
                    true);
            buttons.last().lines << line;
        }
    }
    read.buttons = buttons;
    return read;
}

void TUserButtonsFile::Write(const QString& fileName, const QList<TUserButton>& buttons) {
    QStringList lines{
        "# KVT_Program user buttons: \"[name]\" begins a button, each line after it is a",
        "# controller command in steps, sent as a list is sent; lines beginning with # are comments."};
    for (const TUserButton& button : buttons) {
        lines << "[" + button.name + "]";
        lines << button.lines;
    }
    Folders::Make(QFileInfo(fileName).absolutePath());
    SaveLinesToFile(fileName, lines, false);
}

QString TUserButtonsFile::Check(const QList<TUserButton>& buttons, const TKVTCommands& commands,
                                const TLang& lang) {
    QList<TUserButton> before;
    for (const TUserButton& button : buttons) {
        const QString name = button.name.trimmed();
        QString fault = NameFault(name, int(before.size()) + 1, before, lang);
        if (fault.isEmpty() && (name.contains(']') || name.contains('[')))
            fault = lang.ExtraText(Ext::UserButtonBadName).arg(Shown(name));
        if (!fault.isEmpty())
            return fault;
        if (button.Commands().isEmpty())
            return lang.ExtraText(Ext::UserButtonEmpty).arg(Shown(name));
        if (button.lines.size() > MaxLines)
            return lang.ExtraText(Ext::UserButtonTooLong).arg(Shown(name)).arg(MaxLines);
        for (int i = 0; i < button.lines.size(); ++i) {
            const QString line = button.lines[i].trimmed();
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            const QString why = TTypedCommand::CheckStepsLine(line, commands, lang);
            if (!why.isEmpty())
                return lang.ExtraText(Ext::UserButtonBadLine).arg(Shown(name)).arg(i + 1).arg(why);
        }
        before.append(button);
    }
    return {};
}
