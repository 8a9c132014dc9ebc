#include "PlainTextProgram.h"

#include "AddCommand.h"
#include "ProgramFiles.h"
#include "core/AppError.h"
#include "core/Decimal.h"
#include "core/EncodStr.h"
#include "core/Settings.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "protocol/UnitKVTComands.h"

#include <QFileInfo>

using K = TKVTCommands;

namespace PlainTextProgram {

void Export(const QString& fileName, const QStringList& lines, const TLang& lang) {
    if (!TEncodedStream::MayReplace(fileName))
        throw EFileError::CannotCreate(fileName, lang.ExtraText(Ext::NotARegularFile));
    QByteArray text;
    for (const QString& line : lines)
        text += line.toUtf8() + '\n';
    TEncodedStream file(fileName, TEncodedStream::fmCreate, false);
    file.Write(text.constData(), text.size());
    file.Commit();
}

TFileText FromBytes(const QByteArray& bytes, const QString& name, const TLang& lang) {
    if (bytes.size() > ProgramFiles::MaxFileSize)
        throw EFileError::CannotOpen(name, lang.ExtraText(Ext::FileTooLarge));
    // Counted before anything is split: millions of lines cost a scan, never their memory.
    TFileText text = ReadFileText(bytes, ProgramFiles::MaxLines);
    if (text.tooManyLines)
        throw EFileError::CannotOpen(
            name, lang.ExtraText(Ext::TooManyLines).arg(text.lineCount).arg(ProgramFiles::MaxLines));
    return text;
}

TFileText Read(const QString& fileName, const TLang& lang) {
    const QFileInfo info(fileName);
    // A pipe or a device named like a file is never waited on.
    if (info.exists() && !info.isFile())
        throw EFileError::CannotOpen(fileName, lang.ExtraText(Ext::NotARegularFile));
    if (info.size() > ProgramFiles::MaxFileSize)
        throw EFileError::CannotOpen(fileName, lang.ExtraText(Ext::FileTooLarge));
    TEncodedStream stream(fileName, TEncodedStream::fmOpenRead, false);
    return FromBytes(stream.ReadRest(ProgramFiles::MaxFileSize + 1), fileName, lang);
}

QStringList Damage(const TFileText& text, const QString& name, const TLang& lang) {
    QStringList damage;
    if (text.zeroByte)
        damage << lang.ExtraText(Ext::FileZeroByte).arg(name);
    return damage;
}

QString TypedArgument(int index, qint64 steps, const TSettings& settings) {
    const bool scaled = index == K::MV || index == K::SD || index == K::SS || index == K::AL;
    return scaled && settings.UnitsMode != TSettings::StepsUnits
               ? Decimal::FormatGeneral(double(steps) / settings.Scale)
               : QString::number(steps);
}

TImported Import(const QString& fileName, const TKVTCommands& commands, const TSettings& settings,
                 const TLang& lang) {
    return ImportText(Read(fileName, lang), fileName, commands, settings, lang);
}

TImported ImportText(const TFileText& text, const QString& name, const TKVTCommands& commands,
                     const TSettings& settings, const TLang& lang) {
    TImported imported;
    imported.damage = Damage(text, name, lang);
    for (qsizetype i = 0; i < text.lines.size(); ++i) {
        const QString line = text.lines[i].trimmed();
        if (line.isEmpty())
            continue;
        const auto refuse = [&](const QString& reason) {
            imported.refusals.append({int(i + 1), line, reason});
        };
        const int index = K::CommandIndex(line);
        if (index == K::Incorrect || index == K::ON || index == K::OF) {
            refuse(commands.Entry(K::Incorrect).CaptionText);
            continue;
        }
        // The argument as the operator would type it: motion values in the operator's units.
        QString argument = line.mid(2);
        if (argument.isEmpty()) {
            argument = "no";
        } else {
            bool whole = false;
            const qint64 value = argument.toLongLong(&whole);
            if (!whole) {
                refuse(EConvertError::NotAnInteger(argument).Text());
                continue;
            }
            argument = TypedArgument(index, value, settings);
        }
        try {
            const TMadeCommand made = MakeCommand(commands, settings, index, argument);
            if (!made) {
                refuse(made.refusal);
                continue;
            }
            // The line as the file has it (a conversion there and back could round it); the
            // description as the operator would see it.
            imported.lines.append(line);
            imported.descriptions.append(made.command->description);
        } catch (const EConvertError& error) {
            refuse(error.Text());
        }
    }
    return imported;
}

} // namespace PlainTextProgram
