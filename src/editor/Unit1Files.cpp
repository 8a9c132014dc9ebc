// The main window's program files: "Save to file" and "Load from file".
#include "ProgramFiles.h"
#include "core/AppError.h"
#include "core/Dialogs.h"
#include "core/Unit1.h"
#include "core/widgets/HiddenMemo.h"
#include "core/widgets/LogView.h"
#include "core/widgets/StringGrid.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/UnitKVTComands.h"

#include <QFileInfo>

void TForm1::mmFileSaveClick() {
    for (;;) {
        const QString folder = Paths.UsersFolder();
        const QString fileName = Dialogs().SaveFileName(folder, ProgramFiles::FreeDefaultName(folder));
        if (fileName.isEmpty())
            return;
        if (!ProgramFiles::HasProgramExtension(fileName)) {
            Dialogs().ShowMessage(Lang->Message(Msg::FileNameIncorrect));
            continue;
        }
        ProgramFiles::TProgram program;
        program.lines = MemoSend->Lines;
        for (int row = 1; row <= StringGridSend->RowCount() - 2; ++row)
            program.descriptions.append(StringGridSend->Cell(2, row));
        try {
            ProgramFiles::Save(fileName, program);
        } catch (const EFileError& error) {
            ReportError(error);
        }
        return;
    }
}

void TForm1::mmFileOpenClick() {
    QString fileName;
    for (;;) {
        fileName = Dialogs().OpenFileName(Paths.UsersFolder(), "*.kvt");
        if (fileName.isEmpty())
            return;
        if (ProgramFiles::HasProgramExtension(fileName))
            break;
        Dialogs().ShowMessage(Lang->Message(Msg::FileNameIncorrect));
    }
    const QString companion = ProgramFiles::CompanionName(fileName);
    if (!QFileInfo::exists(companion)) {
        Dialogs().ShowMessage(Lang->Message(Msg::FilePrefix) + companion +
                              Lang->Message(Msg::NotFoundOrDamaged));
        return;
    }
    // Both files are read before anything changes: a file that cannot be read leaves the list.
    ProgramFiles::TProgram program;
    try {
        program = ProgramFiles::Load(fileName);
    } catch (const EFileError& error) {
        ReportError(error);
        return;
    }

    MemoSend->Lines = program.lines;
    SetListFaulty(false);
    // From the first faulty line on, every line adds the warning once.
    QStringList warnings;
    for (const QString& line : program.lines) {
        if (line.isEmpty() || TKVTCommands::CommandIndex(line.left(2)) == 0)
            SetListFaulty(true);
        if (ListFaulty())
            warnings.append(Lang->Message(Msg::WrongCommandInList));
    }
    MemoLog->AddLines(warnings, true);
    std::vector<QStringList> rows;
    rows.reserve(size_t(program.lines.size()) + 1);
    for (qsizetype i = 0; i <= program.lines.size(); ++i) {
        // The trailing empty row included; descriptions beyond the list are not shown.
        const QString description = i < program.lines.size() ? program.descriptions.value(i) : QString();
        rows.push_back({QString(), QString(), description});
    }
    StringGridSend->Model()->SetRows(std::move(rows));
    RenumberRows();
}
