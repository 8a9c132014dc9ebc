#include "ControllerModel.h"
#include "Simulator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using kvtsim::Clock;
using kvtsim::ControllerModel;
using Answers = std::vector<std::vector<std::string>>;
using namespace std::chrono;

TEST(SimulatorModel, EchoesEachCommandAndAnswersWithAStatusToken) {
    ControllerModel model;
    const auto t = Clock::now();
    EXPECT_EQ(model.Receive("BG*EN*", t), (Answers{{"BG*", "E10*"}, {"EN*", "E10*"}}));
    EXPECT_EQ(model.Receive("XY5*", t), (Answers{{"XY5*", "E16*"}})) << "unknown code";
    EXPECT_EQ(model.Receive("SD20000*", t), (Answers{{"SD20000*", "E19*"}})) << "out of range";
    EXPECT_EQ(model.Receive("SF0*", t), (Answers{{"SF0*", "E19*"}}));
    EXPECT_EQ(model.Receive("SDabc*", t), (Answers{{"SDabc*", "E19*"}}));
    EXPECT_EQ(model.Receive("M", t), Answers{}) << "nothing until the '*'";
    EXPECT_EQ(model.Receive("V2\r\n00*", t), (Answers{{"MV200*", "E10*"}})) << "line breaks are ignored";
}

TEST(SimulatorModel, RecordsAProgramBetweenLoadAndEnd) {
    ControllerModel model;
    const auto t = Clock::now();
    EXPECT_EQ(model.Receive("LD2*", t), (Answers{{"LD2*", "E20*"}}));
    EXPECT_EQ(model.RecordingChannel(), 2);
    EXPECT_EQ(
        model.Receive("BG*SD400*AL-20*XX*MV2000*", t),
        (Answers{
            {"BG*", "E20*"}, {"SD400*", "E20*"}, {"AL-20*", "E20*"}, {"XX*", "E26*"}, {"MV2000*", "E20*"}}));
    EXPECT_EQ(model.Receive("ED*", t), (Answers{{"ED*", "E20*"}}));
    EXPECT_EQ(model.RecordingChannel(), 0);
    EXPECT_EQ(model.Program(2), (std::vector<std::string>{"BG", "SD400", "AL-20", "MV2000"}));
    EXPECT_TRUE(model.Program(1).empty());

    // Read back: the echo, then the program with a negative acceleration as 32768 + a.
    EXPECT_EQ(model.Receive("RD2*", t), (Answers{{"RD2*LD2*BG*SD400*AL32788*MV2000*ED*"}}));
    EXPECT_EQ(model.Receive("RD1*", t), (Answers{{"RD1*ED*"}})) << "an empty channel sends only the end";
}

TEST(SimulatorModel, RunsAProgramForItsScaledDurationAndReportsCompletion) {
    ControllerModel model(0.01); // 1 s of motion lasts 10 ms
    const auto t = Clock::now();
    model.Receive("LD1*SD200*MV200*ED*", t);
    EXPECT_EQ(model.Receive("ST1*", t), (Answers{{"ST1*", "E10*"}}));
    EXPECT_TRUE(model.Running(1));
    ASSERT_TRUE(model.NextDeadline());
    const double deadlineMs = duration<double, std::milli>(*model.NextDeadline() - t).count();
    EXPECT_NEAR(deadlineMs, 10.0, 0.5);
    EXPECT_TRUE(model.Due(t + milliseconds(5)).empty());
    EXPECT_EQ(model.Due(t + milliseconds(11)), std::vector<std::string>{"E14*"});
    EXPECT_FALSE(model.Running(1));
    EXPECT_FALSE(model.NextDeadline());
}

TEST(SimulatorModel, AProgramRunsForThePreviewsEstimateAndAnOpenEndedOneUntilStopped) {
    ControllerModel model(0.01);
    const auto t = Clock::now();
    // The preview: five runs of 100 steps at 100 per second and a pause of a second, 6 s.
    model.Receive("LD2*SD100*DL*LL*MV100*JP4*SP1000*ED*ST2*", t);
    ASSERT_TRUE(model.NextDeadline());
    const double deadlineMs = duration<double, std::milli>(*model.NextDeadline() - t).count();
    EXPECT_NEAR(deadlineMs, 60.0, 0.5);
    EXPECT_TRUE(model.Due(t + milliseconds(59)).empty());
    EXPECT_EQ(model.Due(t + milliseconds(61)), std::vector<std::string>{"E24*"});

    // A wait for an input has no end of its own.
    model.Receive("LD1*SD100*MV100*WL1*ED*ST1*", t);
    EXPECT_FALSE(model.NextDeadline());
    EXPECT_TRUE(model.Due(t + hours(1)).empty());
    EXPECT_TRUE(model.Running(1));
    EXPECT_EQ(model.Receive("ST1*", t + hours(1)), (Answers{{"ST1*", "E10*", "E14*"}}));
}

TEST(SimulatorModel, PauseAndResumeAnswerWithCodesTwoAndEight) {
    ControllerModel model(0.01);
    const auto t = Clock::now();
    model.Receive("LD1*MV200*ED*ST1*", t);
    EXPECT_EQ(model.Receive("PS1*", t + milliseconds(4)), (Answers{{"PS1*", "E12*"}}));
    EXPECT_TRUE(model.Due(t + seconds(1)).empty()) << "a paused program does not complete";
    EXPECT_EQ(model.Receive("PS1*", t + seconds(1)), (Answers{{"PS1*", "E18*"}}));
    EXPECT_EQ(model.Due(t + seconds(1) + milliseconds(7)), std::vector<std::string>{"E14*"});
}

TEST(SimulatorModel, StartingAllChannelsAndStoppingOne) {
    ControllerModel model(0.01);
    const auto t = Clock::now();
    model.Receive("LD1*MV200*ED*LD3*MV400*ED*", t);
    EXPECT_EQ(model.Receive("ST*", t), (Answers{{"ST*", "E10*"}}));
    EXPECT_TRUE(model.Running(1));
    EXPECT_FALSE(model.Running(2));
    EXPECT_TRUE(model.Running(3));
    EXPECT_EQ(model.Receive("ST3*", t), (Answers{{"ST3*", "E30*", "E34*"}})) << "a second ST stops it";
    EXPECT_FALSE(model.Running(3));
}

TEST(SimulatorModel, LinksIntoAFolderThatIsNotThereYet) {
    // The per-user program folder before the program's first start.
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("kvtsim-" + std::to_string(::getpid()));
    const std::filesystem::path link = root / "KVT_Program" / "ports" / "COM1";
    kvtsim::Simulator simulator;
    std::string error;
    ASSERT_TRUE(simulator.Start(link.string(), &error)) << error;
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), simulator.SlavePath());
    simulator.Stop();
    std::filesystem::remove_all(root);
}
