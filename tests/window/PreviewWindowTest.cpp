// The program preview window over a real main window: opened from the extended mode, its figures
// and findings for a known list, following edits, the travel limits and the question before Send.
#include "ProgramPreviewWindow.h"
#include "Wait.h"
#include "WindowFixture.h"
#include "core/EncodStr.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "panels/ExtendedPanel.h"
#include "panels/TravelLimitsPanel.h"
#include "widgets/PreviewPlot.h"
#include "widgets/RadioGroup.h"
#include "widgets/StringGrid.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

class PreviewFixture : public WindowFixture {
protected:
    void SetUp() override {
        StartSimulator();
        CreateWindow(1);
        AllowSlowAnswers();
    }
    TProgramPreviewWindow* OpenPreview() {
        W<QPushButton>("btnPreview")->click();
        TProgramPreviewWindow* preview = Dialog<TProgramPreviewWindow>();
        EXPECT_TRUE(preview);
        return preview;
    }
    static QString Cell(TProgramPreviewWindow* p, int row, int column) {
        const QTableWidgetItem* item = p->tblFigures->item(row, column);
        return item ? item->text() : QString("(none)");
    }
    static QStringList Findings(TProgramPreviewWindow* p) {
        QStringList texts;
        for (int i = 0; i < p->lstFindings->count(); ++i)
            texts << p->lstFindings->item(i)->text();
        return texts;
    }
    // Sets an edit's text and finishes the edit as Enter does.
    static void Enter(QLineEdit* edit, const QString& text) {
        edit->setText(text);
        emit edit->editingFinished();
    }
};

// Row indexes of the figures table.
enum Row { Moves, Forward, Backward, Net, Lowest, Highest, Pauses, Duration };

} // namespace

TEST_F(PreviewFixture, OpensFromTheExtendedModeWithTheFiguresOfEachProgram) {
    Session().Editor().Replace(
        {"LD1", "SD100", "DL", "LL", "MV100", "JP2", "SP500", "ED", "LD2", "SD50", "DR", "MV25", "ED"});
    TProgramPreviewWindow* preview = OpenPreview();
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->windowTitle(), Ext(::Ext::PreviewTitle));
    ASSERT_EQ(preview->tblFigures->columnCount(), 2);
    EXPECT_EQ(preview->tblFigures->horizontalHeaderItem(0)->text(),
              Ext(::Ext::PreviewColumn).arg(1).arg(1).arg(8));
    EXPECT_EQ(preview->tblFigures->horizontalHeaderItem(1)->text(),
              Ext(::Ext::PreviewColumn).arg(2).arg(9).arg(13));
    EXPECT_EQ(Cell(preview, Moves, 0), "3");
    EXPECT_EQ(Cell(preview, Forward, 0), "300");
    EXPECT_EQ(Cell(preview, Net, 0), "300");
    EXPECT_EQ(Cell(preview, Highest, 0), "300");
    EXPECT_EQ(Cell(preview, Duration, 0), Ext(::Ext::PreviewSeconds).arg("3.5"));
    EXPECT_EQ(Cell(preview, Backward, 1), "25");
    EXPECT_EQ(Cell(preview, Lowest, 1), "-25");
    EXPECT_EQ(Findings(preview), QStringList{Ext(::Ext::PreviewNoFindings)});
    ASSERT_TRUE(preview->chartPreview->Series(Ext(::Ext::PreviewSeries).arg(2)));
    EXPECT_EQ(preview->chartPreview->Series(Ext(::Ext::PreviewSeries).arg(2))->points().last(),
              QPointF(0.5, -25));

    // The menu entry and F6 open the same window; in the simple mode there is none to open.
    EXPECT_TRUE(form->mmPreview->isEnabled());
    form->mmPreview->trigger();
    EXPECT_EQ(form->findChildren<TProgramPreviewWindow*>().size(), 1);
    form->rgrSingl_Mult->Click(0);
    EXPECT_FALSE(form->mmPreview->isEnabled());
}

TEST_F(PreviewFixture, FollowsTheListAndAFindingSelectsItsLine) {
    Session().Editor().Replace({"LD1", "SD100", "DL", "MV100", "ED"});
    TProgramPreviewWindow* preview = OpenPreview();
    ASSERT_TRUE(preview);
    Session().Editor().Replace({"LD1", "MV100", "SD100", "XX", "ED", "ED"});
    ASSERT_TRUE(WaitUntil([&] { return Findings(preview).size() == 4; }))
        << Findings(preview).join('\n').toStdString();
    EXPECT_EQ(Findings(preview)[0], Ext(::Ext::FindMoveBeforeSpeed).arg(2).arg(200));
    EXPECT_EQ(Findings(preview)[3], Ext(::Ext::FindEndWithoutBlock).arg(6));

    emit preview->lstFindings->itemClicked(preview->lstFindings->item(3));
    EXPECT_EQ(W<TStringGrid>("StringGridSend")->Row(), 6) << "the grid's row of list line 6";
}

TEST_F(PreviewFixture, TravelLimitsAreTakenInTheOperatorsUnitsAndRefusedWhenBad) {
    W<TRadioGroup>("rgrUnits")->Click(1);
    W<QLineEdit>("EditStepsToUnits")->setText("100");
    W<QPushButton>("btnScaleChange")->click();
    Session().Editor().Replace({"LD1", "SD100", "DL", "MV300", "ED"});
    TProgramPreviewWindow* preview = OpenPreview();
    ASSERT_TRUE(preview);
    TTravelLimitsPanel* travel = preview->Travel;
    Enter(travel->edtTravelLow[1], "-0.5");
    Enter(travel->edtTravelHigh[1], "2,5");
    travel->chbTravel[1]->setChecked(true);
    EXPECT_EQ(Session().Options().Settings().Travel[1], (TTravelLimit{true, -50, 250}));
    EXPECT_FALSE(travel->lblTravelProblem->isVisibleTo(preview));
    ASSERT_TRUE(WaitUntil([&] {
        return Findings(preview).size() == 1 && Findings(preview)[0] != Ext(::Ext::PreviewNoFindings);
    }));
    EXPECT_EQ(Findings(preview)[0], Ext(::Ext::FindLeavesTravel).arg("4", "MV300", "1", "3", "-0.5", "2.5"));

    // A lowest above the highest is refused and the limits stay.
    Enter(travel->edtTravelLow[1], "7");
    EXPECT_TRUE(travel->lblTravelProblem->isVisibleTo(preview));
    EXPECT_EQ(Session().Options().Settings().Travel[1], (TTravelLimit{true, -50, 250}));
    Enter(travel->edtTravelHigh[1], "abc");
    EXPECT_EQ(Session().Options().Settings().Travel[1], (TTravelLimit{true, -50, 250}));

    // Kept with the program settings, in a file of their own.
    dialogs.saveAnswers = {IDialogs::SaveChoice::Discard};
    ASSERT_TRUE(form->close());
    EXPECT_TRUE(
        LoadLinesFromFile(folder.File("Data/extra-settings.txt"), false).contains("travel1=on -50 250"));
}

TEST_F(PreviewFixture, SendAsksBeforeAProgramLeavesItsTravel) {
    ChangeSettings([](TSettings& s) { s.Travel[1] = {true, 0, 500}; });
    Session().Editor().Replace({"LD1", "SD10000", "DL", "LL", "MV200", "JP3", "ED"});
    dialogs.confirmAnswers = {false};
    W<QPushButton>("btnRunTR")->click();
    ASSERT_EQ(dialogs.confirmations.size(), 1);
    EXPECT_EQ(dialogs.confirmations[0],
              Ext(::Ext::TravelAskBeforeSend).arg("5", "MV200", "1", "600", "0", "500"));
    RunEventsFor(100);
    EXPECT_TRUE(simulator.Commands().empty()) << "no line sent";

    dialogs.confirmAnswers = {true};
    W<QPushButton>("btnRunTR")->click();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Program(1), (std::vector<std::string>{"SD10000", "DL", "LL", "MV200", "JP3"}));

    // Within its travel, nothing is asked.
    ChangeSettings([](TSettings& s) { s.Travel[1] = {true, 0, 800}; });
    W<QPushButton>("btnRunTR")->click();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(dialogs.confirmations.size(), 2);
}
