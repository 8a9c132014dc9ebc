#pragma once

#include "ProgramFolder.h"
#include "ScriptedDialogs.h"
#include "SessionRooms.h"
#include "Simulator.h"
#include "Unit1.h"
#include "core/Settings.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <memory>

class TChannelState;
class TCommonDatas;
class TSession;

// A program folder whose COM1 is the controller simulator, scripted dialogs, and a main window
// over that folder once the test creates it. Derived fixtures start both in their SetUp.
// Switches `form` to the language `code` as the language dialog does; false (nothing changed)
// when the language's files can't be read.
bool SwitchLanguage(TForm1& form, const QString& code);

class WindowFixture : public ::testing::Test {
protected:
    // Motions and pauses of the simulator last a hundredth of their real time.
    static kvtsim::Options FastMotions();

    // Starts the simulator linked as COM1 (fails the test when it cannot start).
    void StartSimulator(const kvtsim::Options& options = FastMotions());
    // Creates the main window; with `controlMode` 0 or 1 the mode is chosen as a click would.
    void CreateWindow(int controlMode = -1);

    // A reply time of a minute, so that on a busy machine an answer that comes late is not taken
    // for a silent controller. Tests of the reply time set their own.
    void AllowSlowAnswers();

    // Gives the session a reply time of its own (as the error settings dialog would).
    void SetReplyTime(quint32 ms);
    // Changes settings as a settings dialog does: the value taken, changed, handed back.
    template <typename Change> void ChangeSettings(Change change) {
        TSettings settings = Session().Options().Settings();
        change(settings);
        Session().Options().Apply(settings);
    }

    TSession& Session() const;
    const TCommonDatas& Datas() const;
    // The channel state of the controller the window drives.
    const TChannelState& Coords() const;
    // A control of the main window (or of a dialog over it) by its objectName; fails the test
    // when there is none.
    template <typename T = QWidget> T* W(const char* name) const {
        T* widget = form->findChild<T*>(name);
        EXPECT_TRUE(widget) << "no control named " << name;
        return widget;
    }
    // The dialog of type T that is open over the main window, or none.
    template <typename T> T* Dialog() const { return form->findChild<T*>(); }
    QString M(int i) const;   // a message of the language table
    QString Ext(int i) const; // a text of the extra language table
    QStringList LogLines() const;

    // Puts `lines` into the command list and presses "Send".
    void SendList(const QStringList& lines);
    // Runs the event loop until no sending is left running.
    bool WaitForEnd(int timeoutMs = 60000);

    ProgramFolder folder;
    ScriptedDialogs dialogs;
    kvtsim::Simulator simulator;
    std::unique_ptr<TForm1> form;
};
