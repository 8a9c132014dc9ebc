// The command line adding 1,000 typed commands, against the floor of the same 1,000 commands
// added by the editor itself (what a button's click costs, with nothing typed or read), and
// with every key typed through Qt's key events, rounds interleaved in one run.
#include "BenchSetting.h"
#include "Benches.h"
#include "CommandInput.h"
#include "Simulator.h"
#include "Stats.h"
#include "Unit1.h"
#include "editor/CommandList.h"
#include "protocol/UnitKVTComands.h"
#include "session/ProgramEditor.h"
#include "session/Session.h"
#include "widgets/RadioGroup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kCommands = 1000;
constexpr int kRounds = 7;

} // namespace

void RunCommandLineBench() {
    TBenchSetting setting;
    kvtsim::Simulator simulator;
    simulator.Start((setting.Folder() + "/ports/COM1").toStdString());
    TForm1 form(setting.Folder());
    form.rgrSingl_Mult->Click(1);
    form.show();
    QApplication::processEvents();
    TProgramEditor& editor = form.Session().Editor();
    auto* input = form.findChild<TCommandInput*>();
    QLineEdit* edit = input->EditCommandLine;
    std::vector<double> floor, entered, keyed;
    for (int round = 0; round < kRounds; ++round) {
        editor.Clear();
        floor.push_back(Ms([&] {
            for (int i = 0; i < kCommands; ++i)
                editor.AddCommand(TKVTCommands::SD, QString::number(100 + i % 900));
        }));
        editor.Clear();
        entered.push_back(Ms([&] {
            for (int i = 0; i < kCommands; ++i) {
                edit->setText("sd " + QString::number(100 + i % 900));
                input->Enter();
            }
        }));
        editor.Clear();
        keyed.push_back(Ms([&] {
            for (int i = 0; i < kCommands; ++i) {
                QTest::keyClicks(edit, "sd " + QString::number(100 + i % 900));
                QTest::keyClick(edit, Qt::Key_Return);
            }
        }));
        if (editor.List().Count() != kCommands)
            std::printf("  (unexpected: %d lines)\n", editor.List().Count());
    }
    std::printf("Adding %d commands to the list (milliseconds, median of %d interleaved rounds):\n",
                kCommands, kRounds);
    std::printf("  %-44s %9.2f\n", "floor: the editor adds them (a button's path)", Median(floor));
    std::printf("  %-44s %9.2f\n", "command line: text read, added, history kept", Median(entered));
    std::printf("  %-44s %9.2f\n", "command line: every key typed, then Enter", Median(keyed));
    std::printf("\n");
}
