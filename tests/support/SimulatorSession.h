#pragma once
// The set-up of the end-to-end tests that drive a session without a window: the controller
// simulator on COM1 of a program folder (over a pseudo-terminal, one second of motion lasting
// 10 ms), a session on that folder with its port open, and a reply time no busy machine reaches
// (a late answer there is no silent controller).
#include "FakeView.h"
#include "FastSimulator.h"
#include "ProgramFolder.h"
#include "ScriptedDialogs.h"
#include "SessionRooms.h"
#include "core/Settings.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class SimulatorSession : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartFastSimulator(simulator, folder.File("ports/COM1").toStdString()));
        session = std::make_unique<TSession>(folder.Path(), view, &view);
        ASSERT_TRUE(session->Controller().Connection().Open());
        SetReplyTime(60000);
    }

    // Changes settings as the error settings dialog does.
    template <typename Change> void ChangeSettings(Change change) {
        TSettings settings = session->Options().Settings();
        change(settings);
        session->Options().Apply(settings);
    }
    void SetReplyTime(quint32 ms) {
        ChangeSettings([&](TSettings& s) { s.ReplyTime = ms; });
    }
    void SetSimulator(const std::function<void(kvtsim::Options&)>& change) {
        kvtsim::Options options = simulator.GetOptions();
        change(options);
        simulator.SetOptions(options);
    }

    ProgramFolder folder;
    ScriptedDialogs dialogs;
    kvtsim::Simulator simulator;
    FakeView view;
    std::unique_ptr<TSession> session;
};
