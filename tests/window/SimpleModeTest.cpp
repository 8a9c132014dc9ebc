// The simple control mode's buttons and channel boxes, against the simulator.
#include "ColourRecorder.h"
#include "SessionRooms.h"
#include "Unit1.h"
#include "Wait.h"
#include "WindowFixture.h"
#include "core/UnitCommonDatas.h"
#include "widgets/Panel.h"
#include "widgets/RadioGroup.h"
#include "widgets/Shape.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>

namespace {

const QColor green(0, 128, 0), red(255, 0, 0), yellow(255, 255, 0);

class SimpleModeFixture : public WindowFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartSimulator());
        CreateWindow(0);
        AllowSlowAnswers();
        ASSERT_TRUE(form->Session().Connection().IsOpen());
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
    EXPECT_TRUE(form->Session().Datas().ProgramRunning);
}

TEST_F(SimpleModeFixture, TheChannelBoxesChooseWhichChannelsAreWritten) {
    form->show();
    W<QCheckBox>("chboxCoord3")->click();
    W<QCheckBox>("ChboxCoord1")->click();
    EXPECT_EQ(form->Session().Datas().CoordActive,
              (TCommonDatas::PerChannel<bool>{false, false, false, true}));
    EXPECT_TRUE(form->findChild<TPanel*>("PanelCoordinates")->Caption().endsWith("3  "));
    W<QPushButton>("btnLoad")->click();
    ASSERT_TRUE(WaitForEnd());
    ASSERT_FALSE(simulator.Commands().empty());
    EXPECT_EQ(simulator.Commands().front(), "LD3");
    EXPECT_EQ(simulator.Program(3).size(), 6u);
    EXPECT_TRUE(simulator.Program(1).empty());
}
