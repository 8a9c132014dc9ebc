#include "ListEdits.h"

#include "core/EncodStr.h"
#include "core/SettingsView.h"
#include "editor/AddCommand.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "protocol/UnitKVTComands.h"

#include <algorithm>

TListEdits::TListEdits(TProgramEditor& editor, const TKVTCommands& commands, const ISettingsView& datas,
                       const TLang& lang)
    : editor_(editor), commands_(commands), datas_(datas), lang_(lang) {}

QString TListEdits::Copy(QList<int> indices) const {
    std::sort(indices.begin(), indices.end());
    QString text;
    for (int index : indices) {
        if (index >= 0 && index < editor_.List().Count())
            text += editor_.List().Line(index) + '\n';
    }
    return text;
}

QString TListEdits::Cut(const QList<int>& indices) {
    const QString text = Copy(indices);
    editor_.Remove(indices);
    return text;
}

PlainTextProgram::TImported TListEdits::Paste(const QString& text, int before) {
    const QString name = lang_.ExtraText(Ext::ClipboardName);
    const TFileText lines = PlainTextProgram::FromBytes(text.toUtf8(), name, lang_);
    PlainTextProgram::TImported imported =
        PlainTextProgram::ImportText(lines, name, commands_, datas_.Settings(), lang_);
    if (!imported.lines.isEmpty()) {
        editor_.Change([&](TCommandList& list) {
            const int point = list.InsertPoint();
            list.SetInsertPoint(before);
            for (qsizetype i = 0; i < imported.lines.size(); ++i)
                list.Append(imported.lines[i], imported.descriptions.value(i));
            list.SetInsertPoint(point);
        });
    }
    return imported;
}

QString TListEdits::Argument(int index) const {
    const QString line = editor_.List().Line(index);
    bool whole = false;
    const qint64 steps = line.mid(2).toLongLong(&whole);
    if (!whole)
        return line.mid(2);
    return PlainTextProgram::TypedArgument(TKVTCommands::CommandIndex(line), steps, datas_.Settings());
}

TProgramEditor::TAddOutcome TListEdits::EditArgument(int index, const QString& argument) {
    if (index < 0 || index >= editor_.List().Count())
        return {};
    const int code = TKVTCommands::CommandIndex(editor_.List().Line(index));
    const QString typed = argument.trimmed();
    const TMadeCommand made =
        MakeCommand(commands_, datas_.Settings(), code, typed.isEmpty() ? QString("no") : typed);
    if (!made)
        return {TProgramEditor::TAddOutcome::Refused, made.refusal};
    editor_.Change([&](TCommandList& list) {
        const int point = list.InsertPoint();
        list.Remove(index);
        list.SetInsertPoint(index);
        list.Append(made.command->line, made.command->description);
        list.SetInsertPoint(point);
    });
    return {};
}
