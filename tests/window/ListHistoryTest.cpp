// The operator's list is never lost: undo and redo of every kind of change, the title's file name
// and mark, the question before unsaved changes go, Save as and the recent files, plain text
// import and export; and the grid's code column, Enter and Delete in the editor.
#include "ListHistory.h"
#include "LogMenus.h"
#include "SessionRooms.h"
#include "UnitChanRead.h"
#include "Wait.h"
#include "WindowFixture.h"
#include "core/EncodStr.h"
#include "editor/CommandList.h"
#include "editor/ProgramFiles.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "panels/ExtendedPanel.h"
#include "widgets/RadioGroup.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <sys/stat.h>

namespace {

using Choice = IDialogs::SaveChoice;

class ListHistoryFixture : public WindowFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartSimulator());
        CreateWindow(1);
        AllowSlowAnswers();
        // Shortcuts reach the active window only.
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    QStringList Lines() const { return Session().Editor().List().Lines(); }
    TStringGrid* Grid() const { return W<TStringGrid>("StringGridSend"); }
    void Add(const char* button, const QString& argument = {}, const char* edit = nullptr) {
        if (edit)
            W<QLineEdit>(edit)->setText(argument);
        W<QToolButton>(button)->click();
    }
    void Undo() const { form->mmEditUndo->trigger(); }
    void Redo() const { form->mmEditRedo->trigger(); }
    // A saved program pair in Users.
    QString SavedProgram(const QString& name, const QStringList& lines) const {
        const QString file = folder.File("Users/" + name);
        ProgramFiles::Save(file, {lines, lines}, Session().Lang());
        return file;
    }
    QString Title() const { return form->windowTitle(); }
};

const QString kTitle = "KVT_Program - ver.4.0.1";

} // namespace

TEST_F(ListHistoryFixture, EachEditorChangeIsOneStepThatUndoesAndRedoes) {
    EXPECT_FALSE(form->mmEditUndo->isEnabled()) << "nothing to undo yet";
    Add("btnLD1"); // LD1 with its automatic BG and EN: one step
    Add("btnSD", "400", "EditSD");
    Add("btnMVn", "250", "EditMVn");
    Add("btnED");
    const QStringList built{"LD1", "BG", "EN", "SD400", "MV250", "ED"};
    ASSERT_EQ(Lines(), built);
    EXPECT_EQ(form->History().Steps(), 4);

    Undo();
    EXPECT_EQ(Lines(), built.mid(0, 5));
    Redo();
    EXPECT_EQ(Lines(), built);

    // A row deleted (the button and Delete on a selection of two), and a drag.
    Grid()->SetRow(5);
    W<QPushButton>("btnDelRaw")->click();
    EXPECT_EQ(Lines(), (QStringList{"LD1", "BG", "EN", "SD400", "ED"}));
    const QAbstractItemModel* model = Grid()->model();
    Grid()->selectionModel()->select(QItemSelection(model->index(1, 0), model->index(2, 2)),
                                     QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QTest::keyClick(Grid(), Qt::Key_Delete);
    EXPECT_EQ(Lines(), (QStringList{"LD1", "SD400", "ED"})) << "both selected rows, as one step";
    Grid()->DragRow(1, 2);
    EXPECT_EQ(Lines(), (QStringList{"SD400", "LD1", "ED"}));
    Undo();
    EXPECT_EQ(Lines(), (QStringList{"LD1", "SD400", "ED"}));
    Undo();
    EXPECT_EQ(Lines(), (QStringList{"LD1", "BG", "EN", "SD400", "ED"}));
    Undo();
    EXPECT_EQ(Lines(), built);

    // "Clear all" clears at once, unsaved as the list is: its undo is the safety net.
    W<QPushButton>("btnAllClear")->click();
    EXPECT_TRUE(Lines().isEmpty());
    EXPECT_TRUE(dialogs.saveQuestions.isEmpty());
    Undo();
    EXPECT_EQ(Lines(), built);
    EXPECT_EQ(Grid()->Cell(2, 4), Session().Editor().List().Description(3))
        << "the descriptions come back too";

    // The keys, where the focus is on the list (an argument's edit undoes its own typing):
    // Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y.
    Grid()->setFocus();
    EXPECT_TRUE(form->mmEditUndo->isEnabled());
    QTest::keyClick(Grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Lines(), built.mid(0, 5));
    QTest::keyClick(Grid(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Lines(), built) << "Ctrl+Y";
    QTest::keyClick(Grid(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(Grid(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Lines(), built) << "Ctrl+Shift+Z";
}

TEST_F(ListHistoryFixture, ARescaleADirectControlClearAndAReadBackAreUndone) {
    W<TRadioGroup>("rgrUnits")->Click(1);
    W<QLineEdit>("EditStepsToUnits")->setText("10");
    W<QPushButton>("btnScaleChange")->click();
    Add("btnMVn", "25", "EditMVn");
    ASSERT_EQ(Lines(), QStringList{"MV250"});
    W<QLineEdit>("EditStepsToUnits")->setText("20");
    W<QPushButton>("btnScaleChange")->click();
    EXPECT_EQ(Lines(), QStringList{"MV500"}) << "re-scaled";
    Undo();
    EXPECT_EQ(Lines(), QStringList{"MV250"});

    // Direct Control clears the list; its commands are sent, not kept as steps.
    const int steps = form->History().Steps();
    W<QCheckBox>("chbDirectControl")->click();
    EXPECT_TRUE(Lines().isEmpty());
    Add("btnDL");
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(form->History().Steps(), steps + 1) << "the clear is a step, the command sent is not";
    W<QCheckBox>("chbDirectControl")->click(); // off: cleared again, another step
    Undo();
    EXPECT_EQ(Lines(), QStringList{"DL"});
    Undo();
    EXPECT_EQ(Lines(), QStringList{"MV250"});

    // The list replaced by a read-back.
    simulator.SetProgram(1, {"BG", "SD300"});
    form->mmReadCh->trigger();
    auto* read = Dialog<TFormChanRead>();
    ASSERT_TRUE(read);
    read->btnReadClick();
    ASSERT_TRUE(WaitUntil(
        [&] { return !Session().Controller().ReadBack().IsReading() && read->btnRead->isEnabled(); }, 10000));
    read->btnAddToListClick();
    EXPECT_EQ(Lines().value(1), "BG");
    Undo();
    EXPECT_EQ(Lines(), QStringList{"MV250"});
}

TEST_F(ListHistoryFixture, AModeSwitchAndALoadAreUndoneAndTheTitleFollowsTheFile) {
    EXPECT_EQ(Title(), kTitle) << "nothing loaded, nothing typed: the title as it always was";
    const QString file = SavedProgram("Saw.kvt", {"LD1", "SD400", "MV100", "ED"});
    Add("btnDL");
    EXPECT_EQ(Title(), kTitle + " - " + Ext(Ext::Untitled) + " *");

    // A load over unsaved work asks; Cancel keeps it.
    dialogs.saveAnswers = {Choice::Cancel};
    dialogs.fileAnswers = {file};
    form->mmFileOpen->trigger();
    EXPECT_EQ(Lines(), QStringList{"DL"});
    EXPECT_TRUE(dialogs.fileDialogs.isEmpty()) << "cancelled before the file dialog";
    dialogs.saveAnswers = {Choice::Discard};
    dialogs.fileAnswers = {file};
    form->mmFileOpen->trigger();
    ASSERT_EQ(Lines(), (QStringList{"LD1", "SD400", "MV100", "ED"}));
    EXPECT_EQ(Title(), kTitle + " - Saw.kvt");
    EXPECT_TRUE(dialogs.fileDialogs.last().startsWith("open " + folder.File("Users") + "|"));
    EXPECT_EQ(dialogs.fileDialogTitles.last(), Ext(Ext::DialogTitleOpen)) << "titled by what it does";
    Add("btnRS");
    EXPECT_EQ(Title(), kTitle + " - Saw.kvt *");
    Undo();
    EXPECT_EQ(Title(), kTitle + " - Saw.kvt") << "back as loaded: no mark";
    Undo();
    EXPECT_EQ(Lines(), QStringList{"DL"}) << "the load undone";
    Redo();

    // The mode switch clears the list; the simple mode cannot undo; back in the extended mode
    // an undo brings the list back.
    form->rgrSingl_Mult->Click(0);
    EXPECT_TRUE(Lines().isEmpty());
    EXPECT_FALSE(form->mmEditUndo->isEnabled());
    EXPECT_EQ(Title(), kTitle) << "the list is no file's now; what was kept aside is in Saw.kvt";
    W<QPushButton>("btnLoad")->click(); // a list of the simple mode's own
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Title(), kTitle) << "a list the program made never marks the title";
    form->rgrSingl_Mult->Click(1);
    EXPECT_TRUE(Lines().isEmpty());
    EXPECT_EQ(Title(), kTitle);
    Grid()->setFocus();
    QTest::keyClick(Grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Lines(), (QStringList{"LD1", "SD400", "MV100", "ED"}));
    EXPECT_EQ(Title(), kTitle + " - Saw.kvt") << "holding what the file holds, it is tied to it again";
}

TEST_F(ListHistoryFixture, AProgramFileIsWrittenOnlyWhenTheOperatorSavesIt) {
    const QStringList kept{"LD1", "BG", "EN", "MV100", "ED"};
    const QString file = SavedProgram("keep.kvt", kept);
    const auto keepOnDisk = [&] { return ProgramFiles::Load(file, Session().Lang()).program.lines; };
    dialogs.fileAnswers = {file};
    form->mmFileOpen->trigger();
    ASSERT_EQ(Lines(), kept);

    // A mode round trip, then a quit with Return on every box: nothing is asked, nothing written.
    form->rgrSingl_Mult->Click(0);
    form->rgrSingl_Mult->Click(1);
    EXPECT_TRUE(dialogs.saveQuestions.isEmpty());
    EXPECT_EQ(Title(), kTitle);
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(dialogs.saveQuestions.isEmpty()) << "an empty list the program made is no work";
    EXPECT_EQ(keepOnDisk(), kept);

    // Edits cleared by a switch are the operator's work: the question speaks of them, Return
    // (Cancel) keeps the window, and Save writes them under a name the operator confirms.
    CreateWindow(1);
    dialogs.fileAnswers = {file};
    form->mmFileOpen->trigger();
    Add("btnRS");
    form->rgrSingl_Mult->Click(0);
    form->rgrSingl_Mult->Click(1);
    EXPECT_EQ(Title(), kTitle + " - " + Ext(Ext::Untitled) + " *");
    EXPECT_FALSE(form->close()) << "Cancel, the default";
    EXPECT_EQ(keepOnDisk(), kept);
    const QString other = folder.File("Users/other.kvt");
    dialogs.saveAnswers = {Choice::Save};
    dialogs.fileAnswers = {other};
    EXPECT_TRUE(form->close());
    EXPECT_EQ(dialogs.fileDialogs.last(), "save " + folder.File("Users") + "|KVT-Prog-1.kvt")
        << "a name is asked for, never the file the list came from";
    EXPECT_EQ(ProgramFiles::Load(other, Session().Lang()).program.lines, kept + QStringList{"RS"});
    EXPECT_EQ(keepOnDisk(), kept);

    // Direct Control's commands are sent, not kept: never marked, never asked about.
    CreateWindow(1);
    dialogs.fileAnswers = {file};
    form->mmFileOpen->trigger();
    W<QCheckBox>("chbDirectControl")->click();
    Add("btnDL");
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Lines(), QStringList{"DL"});
    EXPECT_EQ(Title(), kTitle);
    const qsizetype questions = dialogs.saveQuestions.size();
    EXPECT_TRUE(form->close());
    EXPECT_EQ(dialogs.saveQuestions.size(), questions);
    EXPECT_EQ(keepOnDisk(), kept);
}

TEST_F(ListHistoryFixture, SaveWritesTheListsOwnFileAndAnUntitledListAsksForAName) {
    const QString file = SavedProgram("own.kvt", {"DL"});
    dialogs.fileAnswers = {file};
    form->mmFileOpen->trigger();
    Add("btnRS");
    EXPECT_EQ(form->mmFileSaveProgram->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(form->mmFileSaveAs->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    EXPECT_TRUE(form->mmFileSave->shortcut().isEmpty()) << "\"Save to file\" keeps its dialog";
    const qsizetype fileDialogs = dialogs.fileDialogs.size();
    form->mmFileSaveProgram->trigger();
    EXPECT_EQ(dialogs.fileDialogs.size(), fileDialogs) << "its own file, without a dialog";
    EXPECT_EQ(ProgramFiles::Load(file, Session().Lang()).program.lines, (QStringList{"DL", "RS"}));
    EXPECT_EQ(Title(), kTitle + " - own.kvt");

    // An import makes the list untitled: Save asks for a name.
    const QString text = folder.File("Users/plain.txt");
    folder.Write("Users/plain.txt", "SD300\n");
    dialogs.fileAnswers = {text};
    form->mmFileImport->trigger();
    ASSERT_EQ(Lines(), QStringList{"SD300"});
    EXPECT_EQ(Title(), kTitle + " - " + Ext(Ext::Untitled) + " *");
    form->mmFileSaveProgram->trigger(); // its dialog cancelled
    EXPECT_EQ(dialogs.fileDialogs.last().left(5), "save ");
    EXPECT_EQ(ProgramFiles::Load(file, Session().Lang()).program.lines, (QStringList{"DL", "RS"}));
}

TEST_F(ListHistoryFixture, UnsavedChangesAreSavedDiscardedOrKeptBeforeTheyWouldBeLost) {
    Add("btnDL");
    Add("btnRS");
    // Save, with no file yet, and the save dialog cancelled: the load does not go on.
    dialogs.saveAnswers = {Choice::Save};
    form->mmFileOpen->trigger();
    EXPECT_EQ(dialogs.fileDialogs.size(), 1) << "the save dialog only";
    EXPECT_EQ(Lines(), (QStringList{"DL", "RS"}));

    // Save with a name chosen: written, then the load's dialog (cancelled here).
    const QString file = folder.File("Users/Kept.kvt");
    dialogs.saveAnswers = {Choice::Save};
    dialogs.fileAnswers = {file};
    form->mmFileOpen->trigger();
    EXPECT_EQ(ProgramFiles::Load(file, Session().Lang()).program.lines, (QStringList{"DL", "RS"}));
    EXPECT_EQ(dialogs.fileDialogs[1], "save " + folder.File("Users") + "|KVT-Prog-1.kvt");
    EXPECT_TRUE(dialogs.fileDialogs.last().startsWith("open "));

    // Quitting: Cancel (the default) keeps the window; Save writes to the program's own file.
    Add("bthHM");
    EXPECT_FALSE(form->close());
    EXPECT_EQ(Lines(), (QStringList{"DL", "RS", "HM"}));
    dialogs.saveAnswers = {Choice::Save};
    const qsizetype fileDialogs = dialogs.fileDialogs.size();
    EXPECT_TRUE(form->close());
    EXPECT_EQ(dialogs.fileDialogs.size(), fileDialogs) << "saved to Kept.kvt without a dialog";
    EXPECT_EQ(ProgramFiles::Load(file, Session().Lang()).program.lines, (QStringList{"DL", "RS", "HM"}));
    EXPECT_EQ(dialogs.saveQuestions.size(), 4);
}

TEST_F(ListHistoryFixture, SaveAsAndTheRecentFilesOpenWhereTheOperatorWorks) {
    const QString other = folder.File("Programs");
    ASSERT_TRUE(QDir().mkpath(other));
    Add("btnDL");
    dialogs.fileAnswers = {other + "/First.kvt"};
    form->mmFileSaveAs->trigger();
    EXPECT_EQ(Title(), kTitle + " - First.kvt");
    dialogs.fileAnswers = {other + "/Second.kvt"};
    form->mmFileSaveAs->trigger();
    EXPECT_TRUE(dialogs.fileDialogs.last().startsWith("save " + other + "|First.kvt"))
        << "the folder last used and the program's own name";
    EXPECT_EQ(Title(), kTitle + " - Second.kvt");
    ASSERT_TRUE(QFile::exists(other + "/Second._kvt")) << "with its companion";

    // Newest first, in the menu and in extra-settings.txt.
    ASSERT_EQ(form->mmRecent->actions().size(), 2);
    EXPECT_EQ(form->mmRecent->actions()[0]->text(), "&1 Second.kvt");
    EXPECT_EQ(Session().Options().Settings().RecentFiles,
              (QStringList{other + "/Second.kvt", other + "/First.kvt"}));

    // A recent file opens as "Load from file" opens it; a missing one is said and taken off.
    Add("btnRS");
    dialogs.saveAnswers = {Choice::Discard};
    form->mmRecent->actions()[1]->trigger();
    EXPECT_EQ(Lines(), QStringList{"DL"});
    EXPECT_EQ(Title(), kTitle + " - First.kvt");
    ASSERT_TRUE(QFile::remove(other + "/Second.kvt"));
    form->mmRecent->actions()[1]->trigger();
    EXPECT_EQ(dialogs.messages.last(), Ext(Ext::RecentFileMissing).arg(other + "/Second.kvt"));
    EXPECT_EQ(Session().Options().Settings().RecentFiles, QStringList{other + "/First.kvt"});
    EXPECT_EQ(form->mmRecent->actions().size(), 1);

    ASSERT_TRUE(form->close());
    const QStringList extra = LoadLinesFromFile(folder.File("Data/extra-settings.txt"), false);
    EXPECT_TRUE(extra.contains("recent1=" + other + "/First.kvt"));
    EXPECT_TRUE(extra.contains("lastFolder=" + other));
}

TEST_F(ListHistoryFixture, PlainTextGoesOutAndComesBackWithARefusedLineNamed) {
    const QString text = folder.File("Users/saw.txt");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("LD1\nSD400\n\nXX5\nMV250\r\nSD99999\nED\n");
    file.close();
    dialogs.fileAnswers = {text};
    form->mmFileImport->trigger();
    EXPECT_EQ(Lines(), (QStringList{"LD1", "SD400", "MV250", "ED"}));
    EXPECT_EQ(Session().Editor().List().Description(1), M(85) + "400" + M(56)) << "described as if typed";
    ASSERT_EQ(dialogs.messages.size(), 1);
    const QStringList said = dialogs.messages[0].split('\n');
    ASSERT_EQ(said.size(), 3);
    EXPECT_EQ(said[0], Ext(Ext::ImportRefused).arg(text));
    EXPECT_TRUE(said[1].startsWith(Ext(Ext::ImportRefusedLine).arg(4).arg("XX5", "")))
        << said[1].toStdString();
    EXPECT_TRUE(said[2].startsWith(Ext(Ext::ImportRefusedLine).arg(6).arg("SD99999", "")))
        << said[2].toStdString();
    EXPECT_EQ(Title(), kTitle + " - " + Ext(Ext::Untitled) + " *") << "imported work has no program file yet";
    Undo();
    EXPECT_TRUE(Lines().isEmpty());
    Redo();

    const QString out = folder.File("Users/out.txt");
    dialogs.fileAnswers = {out};
    form->mmFileExport->trigger();
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("LD1\nSD400\nMV250\nED\n"));
}

TEST_F(ListHistoryFixture, AThousandRowsShowWholeNumbersAndLinesAndEnterAddsACommand) {
    QStringList lines;
    for (int i = 1; i <= 1000; ++i)
        lines << "SP" + QString::number(i * 9973);
    ChangeSettings([](TSettings& s) { s.ShowCodes = true; });
    Session().Editor().Replace(lines);
    RunEventsFor(20);
    const QFontMetrics metrics = Grid()->fontMetrics();
    EXPECT_GE(Grid()->ColWidth(0), metrics.horizontalAdvance("1000"));
    EXPECT_GE(Grid()->ColWidth(1), metrics.horizontalAdvance("SP9973000"));
    EXPECT_EQ(Grid()->Cell(0, 1000), "1000");
    EXPECT_EQ(Grid()->Cell(1, 1000), "SP9973000");
    EXPECT_GE(Grid()->ColWidth(2), TStringGrid::DescriptionMinimum);

    // Enter in an argument's edit adds its command.
    QLineEdit* edit = W<QLineEdit>("EditSD");
    edit->setText("300");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(Lines().last(), "SD300");
    EXPECT_EQ(Lines().size(), 1001);
}

TEST_F(ListHistoryFixture, TheHistoryIsBoundedByMemoryAndALoadSharesWhatDidNotChange) {
    // Programs of 65,535 lines, each a little different from the one before.
    const auto program = [](int variant) {
        QStringList lines;
        for (int i = 0; i < 65535; ++i)
            lines << QString("MV%1").arg(i % 1000 == 0 ? i + variant : i);
        return lines;
    };
    QString file = SavedProgram("big0.kvt", program(0));
    dialogs.fileAnswers = {file};
    form->mmFileOpen->trigger();
    const qint64 first = form->History().MemoryBytes();
    // The same file again: its lines are those the list holds; the step holds arrays only.
    dialogs.fileAnswers = {file};
    form->mmFileOpen->trigger();
    const qint64 again = form->History().MemoryBytes() - first;
    EXPECT_LT(again, first / 2) << "unchanged lines are shared, not copied";

    for (int variant = 1; variant <= 30; ++variant) {
        file = SavedProgram(QString("big%1.kvt").arg(variant), program(variant));
        dialogs.saveAnswers = {Choice::Discard};
        dialogs.fileAnswers = {file};
        form->mmFileOpen->trigger();
        ASSERT_EQ(Lines().size(), 65535);
    }
    EXPECT_LE(form->History().MemoryBytes(), TListHistory::MemoryLimit);
    EXPECT_LT(form->History().Steps(), 32) << "the oldest steps went";
    EXPECT_GE(form->History().Steps(), 2);
    // The newest steps still undo and redo.
    Undo();
    EXPECT_EQ(Lines(), program(29));
    Redo();
    EXPECT_EQ(Lines(), program(30));
}

TEST_F(ListHistoryFixture, AHugeOrOverlongTextIsRefusedReadablyAndNoSaveTurnsAPipeIntoAFile) {
    Add("btnDL");
    // A line of a megabyte: refused, and the box shows it cut to a readable length.
    folder.Write("Users/long.txt", "SD100\n" + QByteArray(1 << 20, 'X') + "\n");
    dialogs.saveAnswers = {Choice::Discard};
    dialogs.fileAnswers = {folder.File("Users/long.txt")};
    form->mmFileImport->trigger();
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_LT(dialogs.messages.first().size(), 1000);
    EXPECT_TRUE(dialogs.messages.first().contains(QString::fromUtf8("…")));
    EXPECT_EQ(Lines(), QStringList{"SD100"});

    // More lines than a program may have: refused, the list as it was.
    folder.Write("Users/many.txt", QByteArray("MV1\n").repeated(70000));
    dialogs.saveAnswers = {Choice::Discard};
    dialogs.fileAnswers = {folder.File("Users/many.txt")};
    form->mmFileImport->trigger();
    EXPECT_TRUE(dialogs.messages.last().contains("70000")) << dialogs.messages.last().toStdString();
    EXPECT_EQ(Lines(), QStringList{"SD100"});

    // A FIFO or a link named as the file to write: refused, left as it is.
    const QString fifo = folder.File("Users/fifo.kvt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString link = folder.File("Users/link.txt");
    ASSERT_TRUE(QFile::link(folder.File("Users/long.txt"), link));
    dialogs.fileAnswers = {fifo};
    form->mmFileSaveAs->trigger();
    dialogs.fileAnswers = {link};
    form->mmFileExport->trigger();
    dialogs.fileAnswers = {link};
    form->LogMenus->pmSaveLog->trigger();
    const QString notRegular = Ext(Ext::NotARegularFile);
    EXPECT_EQ(dialogs.messages.filter(notRegular).size(), 3) << dialogs.messages.join(" | ").toStdString();
    EXPECT_FALSE(QFileInfo(fifo).isFile());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}
