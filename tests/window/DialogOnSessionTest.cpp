// A dialog stands on the session alone: made, filled and applied with no main window at all,
// as a program without the main window would use it.
#include "FakeView.h"
#include "ProgramFolder.h"
#include "ScriptedDialogs.h"
#include "UnitColorIndicators.h"
#include "UnitErrNastr.h"
#include "core/UnitCommonDatas.h"
#include "session/Session.h"
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
    TSession session(folder.Path(), view);

    auto* errors = new TFormErrNastr(session, nullptr);
    EXPECT_EQ(errors->SpinEditTime->value(), 300) << "filled from the session's settings";
    errors->RbtnEr6_NoReact->setChecked(true);
    errors->chboxEr5->setChecked(false);
    errors->SpinEditTime->setValue(1500);
    errors->btnOkClick();
    EXPECT_EQ(session.Settings().ReplyTime, 1500u);
    EXPECT_EQ(session.Datas().ReplyTime(), 1500u) << "what the sending threads read follows at once";
    EXPECT_EQ(session.Settings().Er6Reaction, 0);
    EXPECT_FALSE(session.Settings().AutoRecovery);
    EXPECT_EQ(session.Settings().Er9Reaction, 1) << "left as it was";

    auto* indicators = new TFormColorIndicators(session, nullptr);
    indicators->rgr3->Click(TCommonDatas::Paused);
    indicators->btnOKClick();
    EXPECT_EQ(session.Datas().CoordState[3], TCommonDatas::Paused);
    EXPECT_EQ(view.indicators[3], TCommonDatas::IndicatorColours[TCommonDatas::Paused]);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(" | ").toStdString();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // both closed themselves
}
