// A dialog stands on the rooms of the session it works with: made, filled and applied with no
// main window at all, as a program without the main window would use it.
#include "FakeView.h"
#include "ProgramFolder.h"
#include "ScriptedDialogs.h"
#include "SessionRooms.h"
#include "UnitColorIndicators.h"
#include "UnitErrNastr.h"
#include "core/UnitCommonDatas.h"
#include "widgets/RadioGroup.h"
#include "widgets/SpinEdit.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QRadioButton>

TEST(DialogOnSession, TheErrorSettingsAndTheIndicatorsNeedNoMainWindow) {
    ProgramFolder folder;
    ScriptedDialogs dialogs;
    FakeView view;
    TSession session(folder.Path(), view, &view);

    auto* errors = new TFormErrNastr(session.Options(), session.Controller().Channels(), nullptr);
    EXPECT_EQ(errors->SpinEditTime->value(), 300) << "filled from the session's settings";
    errors->RbtnEr6_NoReact->setChecked(true);
    errors->chboxEr5->setChecked(false);
    errors->SpinEditTime->setValue(1500);
    errors->btnOkClick();
    EXPECT_EQ(session.Options().Settings().ReplyTime, 1500u);
    EXPECT_EQ(session.Datas().ReplyTime(), 1500u) << "what the sending threads read follows at once";
    EXPECT_EQ(session.Options().Settings().Er6Reaction, 0);
    EXPECT_FALSE(session.Options().Settings().AutoRecovery);
    EXPECT_EQ(session.Options().Settings().Er9Reaction, 1) << "left as it was";

    auto* indicators = new TFormColorIndicators(session.Options(), session.Controller().Channels(), nullptr);
    indicators->rgr3->Click(TChannelState::Paused);
    indicators->btnOKClick();
    EXPECT_EQ(session.Controller().State().State(3), TChannelState::Paused);
    EXPECT_EQ(view.indicators[3], TChannelState::IndicatorColours[TChannelState::Paused]);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(" | ").toStdString();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // both closed themselves
}
