// Draws the windows as an operator sees them into PNG files, for a look and for the README:
// the main window in the simple mode, then in the extended mode with a program of two channels
// and a loop, a command typed on the command line and two user buttons, and the program preview of it with a
// travel limit on channel 1, the guide, and the run history of a recorded day, in the language asked for
// (scripts/screenshots.sh makes those of the README).
//
//   kvt_screenshots OUT_DIR [LANGUAGE]
//
// Runs on any platform plugin (offscreen included); QT_SCALE_FACTOR draws a scaled screen.
#include "HelpWindow.h"
#include "ProgramFolder.h"
#include "ProgramPreviewWindow.h"
#include "SampleJournal.h"
#include "ScriptedDialogs.h"
#include "SessionRooms.h"
#include "Simulator.h"
#include "Unit1.h"
#include "core/Settings.h"
#include "history/HistoryTable.h"
#include "history/RunHistoryWindow.h"
#include "widgets/RadioGroup.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPixmap>
#include <QTableView>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: kvt_screenshots OUT_DIR [LANGUAGE]\n", stderr);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString language = argc > 2 ? QString::fromLocal8Bit(argv[2]) : "en";
    QDir().mkpath(out);

    ProgramFolder folder;
    ScriptedDialogs dialogs;
    kvtsim::Simulator simulator;
    simulator.Start(folder.File("ports/COM1").toStdString());
    // Two user buttons of the operator's, shown in the row under the log.
    folder.Write("Data/user-buttons.txt", "[Home all]\nHM\n[Start 1+2]\nST1\nST2\n");
    TForm1 form(folder.Path());
    if (language != "en" && !form.Session().Options().ChangeLanguage(language).isEmpty()) {
        std::fprintf(stderr, "kvt_screenshots: no language %s\n", qPrintable(language));
        return 1;
    }
    form.LanguageChanged();
    form.show();
    // The content's new minimum reaches the window in a second pass of its layout.
    app.processEvents();
    app.processEvents();
    if (!form.grab().save(out + "/simple-" + language + ".png"))
        return 1;
    form.rgrSingl_Mult->Click(TSettings::ExtendedMode);
    TSession& session = form.Session();
    TSettings settings = session.Options().Settings();
    settings.Travel[1] = {true, -100, 2500};
    session.Options().Apply(settings);
    // Taken in as an import is, so that each line has its description.
    const QStringList program{"LD1",   "BG",    "SD400", "DL",    "LL",  "MV600", "SP250", "DR", "MV200",
                              "DL",    "JP3",   "EN",    "ED",    "LD2", "BG",    "SD250", "DR", "LB",
                              "MV300", "SP500", "RS",    "MV300", "SB2", "EN",    "ED"};
    QFile text(folder.File("Users/saw.txt"));
    if (!text.open(QIODevice::WriteOnly) || text.write(program.join('\n').toUtf8()) < 0)
        return 1;
    text.close();
    const auto imported = session.Document().Import(text.fileName());
    session.Editor().Replace(imported.lines, imported.descriptions);
    form.show();
    // A command being typed, described under the line.
    if (auto* line = form.findChild<QLineEdit*>("EditCommandLine")) {
        line->setText("sd 300");
        emit line->textEdited(line->text());
    }
    form.mmPreview->trigger();
    auto* preview = form.findChild<TProgramPreviewWindow*>();
    preview->Refresh();
    preview->resize(820, 720);
    app.processEvents();
    const bool saved = form.grab().save(out + "/main-" + language + ".png") &&
                       preview->grab().save(out + "/preview-" + language + ".png");
    // The guide, at its tour.
    THelpWindow guide(form.Session().Lang(), form.Session().Paths.LangFolder(), language);
    guide.ShowTopic("tour");
    guide.show();
    app.processEvents();
    if (!saved || !guide.grab().save(out + "/guide-" + language + ".png"))
        return 1;
    // The run history of a recorded day, at its first pause.
    WriteSampleDay(folder.File("Data/journal"), QDate::currentDate().addDays(-1));
    form.mmRunHistory->trigger();
    auto* history = form.findChild<TRunHistoryWindow*>();
    history->Reload();
    history->cbZoom->setCurrentIndex(2);
    history->tblEvents->setCurrentIndex(history->Table()->index(5, 0));
    history->resize(980, 560);
    app.processEvents();
    return history->grab().save(out + "/history-" + language + ".png") ? 0 : 1;
}
