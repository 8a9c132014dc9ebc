// The editor with long programs: loading, drawing, re-scaling, saving, deleting a row, dragging
// a row, undoing and redoing the drag, and fitting the number and line columns, for programs of
// 2,500, 5,000 and 10,000 lines, to see each cost grow linearly.
#include "BenchSetting.h"
#include "Benches.h"
#include "SessionRooms.h"
#include "Simulator.h"
#include "Stats.h"
#include "Unit1.h"
#include "core/EncodStr.h"
#include "editor/CommandList.h"
#include "panels/ExtendedPanel.h"
#include "panels/UnitsPanel.h"
#include "widgets/RadioGroup.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>
#include <functional>

namespace {

struct Row {
    double load, draw, rescale, save, remove, drag, undo, redo, fit, faulty;
};

Row Measure(int lines, const QString& folder, TBenchSetting& dialogs) {
    QStringList program, descriptions;
    for (int i = 0; i < lines; ++i) {
        program.append(i % 2 ? "SD" + QString::number(100 + i % 900) : "MV" + QString::number(1000 + i));
        descriptions.append("Description of command " + QString::number(i + 1));
    }
    const QString source = folder + "/Users/long" + QString::number(lines) + ".kvt";
    SaveLinesToFile(source, program, true);
    SaveLinesToFile(source.left(source.size() - 4) + "._kvt", descriptions, true);

    TForm1 form(folder);
    form.rgrSingl_Mult->Click(1);
    form.show();
    QApplication::processEvents();
    Row row{};
    dialogs.file = source;
    row.load = Ms([&] { form.mmFileOpen->trigger(); });
    auto* grid = form.findChild<TStringGrid*>("StringGridSend");
    row.draw = Ms([&] {
        grid->scrollToBottom();
        grid->grab();
    });
    form.findChild<TRadioGroup*>("rgrUnits")->Click(1);
    form.findChild<QLineEdit*>("EditStepsToUnits")->setText("2");
    row.rescale = Ms([&] { form.UnitsPanel->btnScaleChange->click(); });
    dialogs.file = folder + "/Users/saved" + QString::number(lines) + ".kvt";
    row.save = Ms([&] { form.mmFileSave->trigger(); });
    grid->SetRow(lines / 2);
    row.remove = Ms([&] { form.ExtendedPanel->btnDelRaw->click(); });
    row.drag = Ms([&] { grid->DragRow(lines / 2, 1); });
    row.undo = Ms([&] { form.mmEditUndo->trigger(); });
    row.redo = Ms([&] { form.mmEditRedo->trigger(); });
    row.fit = Ms([&] { grid->FitCodeColumns(); });
    if (form.Session().Editor().List().Count() != lines - 1)
        std::printf("  (unexpected: %d lines after the edits)\n", form.Session().Editor().List().Count());

    // The worst load: a wrong first line, so that every line logs a red warning.
    program[0] = "XX";
    const QString faulty = folder + "/Users/faulty" + QString::number(lines) + ".kvt";
    SaveLinesToFile(faulty, program, true);
    SaveLinesToFile(faulty.left(faulty.size() - 4) + "._kvt", descriptions, true);
    dialogs.file = faulty;
    row.faulty = Ms([&] { form.mmFileOpen->trigger(); });
    return row;
}

} // namespace

void RunEditorBench() {
    TBenchSetting setting;
    kvtsim::Simulator simulator;
    simulator.Start((setting.Folder() + "/ports/COM1").toStdString());

    std::printf("Editing long programs (milliseconds):\n");
    std::printf("  %7s %9s %9s %9s %9s %9s %9s %9s %9s %9s %14s\n", "lines", "load", "draw", "rescale",
                "save", "delete", "drag", "undo", "redo", "fit", "faulty load");
    for (int lines : {2500, 5000, 10000}) {
        const Row r = Measure(lines, setting.Folder(), setting);
        std::printf("  %7d %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %14.2f\n", lines, r.load,
                    r.draw, r.rescale, r.save, r.remove, r.drag, r.undo, r.redo, r.fit, r.faulty);
    }
    std::printf("\n");
}
