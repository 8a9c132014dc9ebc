// The simple control mode's buttons and channel boxes, against the simulator.
#include "ColourRecorder.h"
#include "SessionRooms.h"
#include "Unit1.h"
#include "Wait.h"
#include "WindowFixture.h"
#include "core/UnitCommonDatas.h"
#include "lang/ExtraIds.h"
#include "protocol/UnitKVTComands.h"
#include "session/ProgramEditor.h"
#include "widgets/Panel.h"
#include "widgets/RadioGroup.h"
#include "widgets/Shape.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QColor green(0, 128, 0), red(255, 0, 0), yellow(255, 255, 0);

class SimpleModeFixture : public WindowFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartSimulator());
        CreateWindow(0);
        AllowSlowAnswers();
        ASSERT_TRUE(form->Session().Controller().Connection().IsOpen());
    }
};

} // namespace

TEST_F(SimpleModeFixture, WriteAndStartRunsThePanelsMotion) {
    kvtsim::Options options = simulator.GetOptions();
    options.timeScale = 0.3; // 200 steps at 200 steps/s: 300 ms
    simulator.SetOptions(options);
    ColourRecorder indicator(W<TShape>("shpX"));
    W<QPushButton>("btnPusk")->click();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(),
              (std::vector<std::string>{"LD1", "BG", "EN", "AL0", "SD200", "DL", "MV200", "ED", "ST1"}));
    // Written (yellow, then green), then executing (red) until the controller reports the end.
    ASSERT_TRUE(WaitUntil([&] { return indicator.Colours().size() == 5; }, 10000));
    EXPECT_EQ(indicator.Colours(), (QList<QColor>{green, yellow, green, red, green}));

    W<QPushButton>("btnStop")->click(); // nothing runs: only the flag is raised, nothing is sent
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands().size(), 9u);
    EXPECT_TRUE(form->Session().Controller().State().ProgramRunning());
}

TEST_F(SimpleModeFixture, TheChannelBoxesChooseWhichChannelsAreWritten) {
    form->show();
    W<QCheckBox>("chboxCoord3")->click();
    W<QCheckBox>("ChboxCoord1")->click();
    const TChannelState& state = form->Session().Controller().State();
    EXPECT_EQ((std::array<bool, 3>{state.Active(1), state.Active(2), state.Active(3)}),
              (std::array<bool, 3>{false, false, true}));
    EXPECT_TRUE(form->findChild<TPanel*>("PanelCoordinates")->Caption().endsWith("3  "));
    W<QPushButton>("btnLoad")->click();
    ASSERT_TRUE(WaitForEnd());
    ASSERT_FALSE(simulator.Commands().empty());
    EXPECT_EQ(simulator.Commands().front(), "LD3");
    EXPECT_EQ(simulator.Program(3).size(), 6u);
    EXPECT_TRUE(simulator.Program(1).empty());
}

TEST_F(SimpleModeFixture, ARefusedFieldSendsNothingAndTheFieldsNameTheirRangeAndUnit) {
    // Millimetres at 200 steps each: SD takes 0.005 to 50 mm/s, MV 0.005 to 50000 mm.
    ChangeSettings([](TSettings& s) { s.UnitsName = "mm"; });
    form->Session().Editor().ChangeUnitsMode(TSettings::OtherUnits, "200");
    auto* speed = W<QLineEdit>("EditSpeed");
    auto* steps = W<QLineEdit>("EditStepsNum");
    EXPECT_TRUE(speed->toolTip().contains("50 mm/s")) << speed->toolTip().toStdString();
    EXPECT_TRUE(steps->toolTip().contains("0.005") && steps->toolTip().contains("50000 mm"))
        << steps->toolTip().toStdString();
    const TKVTCommands& table = form->Session().Commands();
    const struct {
        const char* speed;
        const char* steps;
        QString refusal;
    } refused[] = {{"200", "1", table.Entry(TKVTCommands::SD).RangeText},
                   {"10", "0.001", table.Entry(TKVTCommands::MV).RangeText}};
    for (const auto& r : refused) {
        speed->setText(r.speed);
        steps->setText(r.steps);
        dialogs.messages.clear();
        dialogs.errors.clear();
        W<QPushButton>("btnPusk")->click();
        ASSERT_TRUE(WaitForEnd());
        EXPECT_TRUE(simulator.Commands().empty()) << r.speed << " " << r.steps;
        EXPECT_EQ(dialogs.messages, QStringList{r.refusal});
        EXPECT_EQ(dialogs.errors, QStringList{r.refusal}) << "a refusal's box carries the warning icon";
        EXPECT_EQ(LogLines().last(), Ext(Ext::SimpleNothingSent).arg(r.refusal));
    }
    // Mended, the same press writes and starts the motion in steps.
    speed->setText("10");
    steps->setText("1");
    W<QPushButton>("btnPusk")->click();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(simulator.Commands(),
              (std::vector<std::string>{"LD1", "BG", "EN", "AL0", "SD2000", "DL", "MV200", "ED", "ST1"}));
}
