// The settings a session leaves behind, and the three dialogs that change them: the port number
// (with the devices of the machine), the line settings of the open port, the program settings.
#include "CaptionCheck.h"
#include "PortName.h"
#include "Pty.h"
#include "SessionRooms.h"
#include "Startup.h"
#include "Unit1.h"
#include "UnitByteLen.h"
#include "UnitErrNastr.h"
#include "UnitErrores.h"
#include "UnitProgProp.h"
#include "Wait.h"
#include "WindowFixture.h"
#include "core/EncodStr.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/ReplyLog.h"
#include "serial/ComPort.h"
#include "widgets/LogView.h"
#include "widgets/Panel.h"
#include "widgets/RadioGroup.h"
#include "widgets/SpinEdit.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

class SettingsWindowFixture : public WindowFixture {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(StartSimulator(kvtsim::Options{})); }
    void Create() { CreateWindow(); }
    QStringList Data(const QString& name) const {
        return LoadLinesFromFile(folder.File("Data/" + name), true);
    }
};

} // namespace

TEST_F(SettingsWindowFixture, WhatTheOperatorSetIsThereAgainAfterARestart) {
    Create();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << "a fresh installation starts without a message";
    form->rgrSingl_Mult->Click(1);
    W<TRadioGroup>("rgrUnits")->Click(1);
    W<QLineEdit>("EditStepsToUnits")->setText("2.5");
    W<QPushButton>("btnScaleChange")->click();
    form->mmNastrLogs->trigger();
    TFormProgProp* settings = Dialog<TFormProgProp>();
    ASSERT_NE(settings, nullptr);
    settings->chboxPortLogs->setChecked(true);
    settings->chBoxSaveLogs->setChecked(true);
    settings->chBoxSavePortLogs->setChecked(true);
    settings->EditUnitsName->setText("mm");
    settings->RgrTrunc->Click(2);
    settings->btnOKClick();
    SetReplyTime(700);
    simulator.SendRaw("E15*ST1*");
    ASSERT_TRUE(WaitUntil([&] { return form->Session().Logs().ReplyLog().Count() == 3; }));
    form->Session().Logs().Log("a red line", true);
    ASSERT_TRUE(form->close());
    form.reset();

    EXPECT_EQ(Data("prp.dat"), (QStringList{"-1", "-1", "0", "-1", "-1", "-1", "-1", "-1", "1", "-1", "-1",
                                            "-1", "-1", "-1", "mm", "2.5", "2", "1", "en"}));
    EXPECT_EQ(Data("erp.dat").last(), "700");
    EXPECT_EQ(Data("portp.dat"), QStringList{"1"});
    EXPECT_EQ(LoadLinesFromFile(folder.File("Log/port.log"), false), (QStringList{"E15*", "ST1*", ""}));
    const QStringList work = LoadLinesFromFile(folder.File("Log/work.log"), false);
    ASSERT_FALSE(work.isEmpty());
    EXPECT_EQ(work.last(), "a red line") << "written as ordinary text";

    Create();
    EXPECT_EQ(form->rgrSingl_Mult->ItemIndex(), 1);
    EXPECT_EQ(W<TRadioGroup>("rgrUnits")->ItemIndex(), 1);
    EXPECT_EQ(form->Session().Datas().Settings().Scale, 2.5);
    EXPECT_EQ(form->Session().Datas().Settings().UnitsName, "mm");
    EXPECT_EQ(form->Session().Datas().Settings().RoundingMode, 2);
    EXPECT_EQ(form->Session().Datas().ReplyTime(), 700u);
    EXPECT_TRUE(W<QFrame>("panelPortAns")->isVisibleTo(form.get()))
        << "the reply list shows in the extended mode";
    EXPECT_TRUE(form->Session().Controller().Connection().IsOpen());
}

TEST_F(SettingsWindowFixture, ADamagedSettingsFileIsNamedAndTheRestStarts) {
    SaveLinesToFile(folder.File("Data/erp.dat"), {"-1", "1", "1", "abc"}, true);
    folder.Remove("Data/prp.dat");
    Create();
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.messages[0], M(1) + folder.File("Data/prp.dat") + M(2));
    EXPECT_EQ(dialogs.messages[1], M(1) + folder.File("Data/erp.dat") + M(2));
    EXPECT_TRUE(form->Session().Controller().Connection().IsOpen());
}

TEST_F(SettingsWindowFixture, AFileThatCannotBeWrittenLetsTheOperatorChooseToStay) {
    Create();
    ChangeSettings([&](TSettings& s) { s.SaveOperationLog = true; });
    QDir(folder.File("Log")).removeRecursively();
    folder.Write("Log", "a file where the folder should be");
    dialogs.confirmAnswers = {false};
    EXPECT_FALSE(form->close()) << "the operator stays";
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith("Cannot create file")) << dialogs.messages[0].toStdString();
    ASSERT_EQ(dialogs.confirmations.size(), 1);
    EXPECT_EQ(dialogs.confirmations[0], form->Session().Lang().ExtraText(Ext::CloseWithoutSaving));
    dialogs.confirmAnswers = {true};
    EXPECT_TRUE(form->close()) << "and may leave without saving the rest";
}

TEST_F(SettingsWindowFixture, SavingProgramSettingsOffLeavesTheFileAsItWas) {
    Create();
    const QStringList before = Data("prp.dat");
    ChangeSettings([&](TSettings& s) { s.SaveProgramSettings = false; });
    ChangeSettings([&](TSettings& s) { s.ShowPortLog = true; });
    ASSERT_TRUE(form->close());
    EXPECT_EQ(Data("prp.dat"), before);
}

TEST_F(SettingsWindowFixture, ChoosingThePortReopensItOnTheNumberChosen) {
    Create();
    Pty other;
    ASSERT_TRUE(other.Ok());
    folder.LinkPort(17, other.SlavePath());
    form->mmSettsPortNameClick();
    TFormPortName* dialog = Dialog<TFormPortName>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(form->Session().Controller().Connection().IsOpen()) << "the port closes first";
    EXPECT_EQ(dialog->rgrPortName->ItemIndex(), 0);
    EXPECT_FALSE(dialog->SpinEditPortName->isEnabled());
    dialog->rgrPortName->Click(4);
    EXPECT_TRUE(dialog->SpinEditPortName->isEnabled());
    dialog->SpinEditPortName->setValue(17);
    EXPECT_TRUE(dialog->lblDevice->text().contains(folder.File("ports/COM17")))
        << dialog->lblDevice->text().toStdString();
    EXPECT_TRUE(dialog->lblDevice->text().endsWith(form->Session().Lang().ExtraText(Ext::DeviceReady)));
    dialog->ButtonOKClick();
    EXPECT_EQ(form->Session().Controller().Connection().Choice().PortNumber(), 17u);
    EXPECT_TRUE(form->Session().Controller().Connection().IsOpen());
    EXPECT_TRUE(form->PanelPortProp->Caption().contains("Com17"));
    ASSERT_TRUE(WaitUntil([&] { return Dialog<TFormPortName>() == nullptr; })) << "closed and released";

    // Port 17 again: "Other" is selected with 17; a missing device is said to be missing.
    form->mmSettsPortNameClick();
    dialog = Dialog<TFormPortName>();
    EXPECT_EQ(dialog->rgrPortName->ItemIndex(), 4);
    EXPECT_EQ(dialog->SpinEditPortName->value(), 17);
    dialog->rgrPortName->Click(2);
    EXPECT_TRUE(dialog->lblDevice->text().endsWith(form->Session().Lang().ExtraText(Ext::DeviceMissing)))
        << dialog->lblDevice->text().toStdString();
}

TEST_F(SettingsWindowFixture, ADeviceOfTheMachineIsLinkedToThePortNumberByOneChoice) {
    Create();
    Pty adapter;
    ASSERT_TRUE(adapter.Ok());
    // A machine's /dev/serial/by-id, with one adapter, stood in for by a pseudo-terminal.
    QDir(folder.File("by-id")).mkpath(".");
    ASSERT_TRUE(QFile::link(adapter.SlavePath(), folder.File("by-id/usb-FTDI_FT232R_A1B2C3-if00-port0")));
    form->mmSettsPortNameClick();
    TFormPortName* dialog = Dialog<TFormPortName>();
    dialog->ByIdFolder = folder.File("by-id");
    dialog->DevFolder = folder.File("no-dev");
    dialog->rgrPortName->Click(2); // COM3
    ASSERT_EQ(dialog->lbDevices->count(), 1);
    EXPECT_TRUE(dialog->lblDevice->text().endsWith(form->Session().Lang().ExtraText(Ext::DeviceMissing)));
    dialog->lbDevices->setCurrentRow(0);
    dialog->btnLinkClick();
    EXPECT_EQ(QFile::symLinkTarget(folder.File("ports/COM3")),
              folder.File("by-id/usb-FTDI_FT232R_A1B2C3-if00-port0"));
    EXPECT_TRUE(dialog->lblDevice->text().endsWith(form->Session().Lang().ExtraText(Ext::DeviceReady)));
    dialog->ButtonOKClick();
    EXPECT_EQ(form->Session().Controller().Connection().Choice().PortNumber(), 3u);
    EXPECT_TRUE(form->Session().Controller().Connection().IsOpen()) << "opened on the adapter";
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(" | ").toStdString();
}

TEST_F(SettingsWindowFixture, LineSettingsReachTheOpenPortAndTheDataBitsStayFixed) {
    Create();
    form->mmSettsProp->trigger();
    TFormByteLen* dialog = Dialog<TFormByteLen>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->rgrDataLen->ItemIndex(), 3);
    EXPECT_EQ(dialog->rgrParity->ItemIndex(), 2) << "even parity at every start";
    EXPECT_EQ(dialog->cbPortSpeed->currentText(), "9600");
    form->mmSettsProp->trigger();
    EXPECT_EQ(Dialog<TFormByteLen>(), dialog) << "the same dialog, not a second one";
    const QString description = form->PanelPortProp->Caption();
    dialog->rgrStopBits->Click(1);
    dialog->rgrParity->Click(3);
    dialog->cbPortSpeed->setCurrentIndex(8);
    dialog->btnOKClick();
    const TComPort::TLineChoice line = form->Session().Controller().Connection().LineSettings();
    EXPECT_EQ(line.stopBits, 2) << "two stop bits with eight data bits";
    EXPECT_EQ(line.parity, 3);
    EXPECT_EQ(line.baudIndex, 8);
    EXPECT_TRUE(form->Session().Controller().Connection().IsOpen()) << "not closed nor reopened";
    EXPECT_EQ(form->PanelPortProp->Caption(), description) << "composed when the port next opens";
    EXPECT_TRUE(form->PanelPortProp->toolTip().endsWith("19200 baud")) << "the rate in the tooltip at once";

    form->mmSettsProp->trigger();
    dialog = Dialog<TFormByteLen>();
    EXPECT_TRUE(dialog->rgrDataLen->isEnabled());
    form->btnClosePortClick();
    EXPECT_FALSE(dialog->rgrDataLen->isEnabled()) << "disabled once the port controls are updated";
    dialog->rgrDataLen->SetItemIndex(0);
    dialog->rgrStopBits->Click(1);
    dialog->btnOKClick();
    EXPECT_EQ(form->Session().Controller().Connection().LineSettings().stopBits, 1)
        << "one and a half with five data bits";
    EXPECT_EQ(form->Session().Controller().Connection().LineSettings().dataBitsIndex, 0);
    // Opened again, the description shows what the port now has.
    form->btnOpenPortClick();
    const QStringList& m = form->Session().Lang().Messages;
    EXPECT_EQ(form->PanelPortProp->Caption(), m[Msg::PortPrefix] + "Com1;  5 " + m[Msg::Bits] +
                                                  m[Msg::StopBits] + " 1,5;  " + m[Msg::ParityNone + 3]);
}

TEST_F(SettingsWindowFixture, ProgramSettingsShowTheLogsAndKeepTheList) {
    Create();
    form->rgrSingl_Mult->Click(1);
    W<QToolButton>("btnBG")->click();
    const int width = form->width();
    form->mmNastrLogs->trigger();
    TFormProgProp* settings = Dialog<TFormProgProp>();
    settings->chboxPortLogs->setChecked(true);
    settings->chboxLoadLogs->setChecked(true);
    settings->chBoxLogs->setChecked(false);
    settings->EditUnitsName->clear();
    const int height = form->height(), logHeight = form->MemoLog->height();
    settings->btnOKClick();
    EXPECT_EQ(form->Session().Editor().List().Lines(), QStringList{"BG"}) << "no Clear all";
    EXPECT_TRUE(W<QFrame>("panelPortAns")->isVisibleTo(form.get()));
    EXPECT_TRUE(W<QFrame>("panelLoadAns")->isVisibleTo(form.get()));
    EXPECT_GT(form->width(), width);
    EXPECT_FALSE(form->MemoLog->isVisibleTo(form.get()));
    EXPECT_EQ(form->height(), height - logHeight + 5) << "shorter by the log's height, less 5";
    EXPECT_EQ(W<QGroupBox>("GrBoxStepsToUnits")->title(), "Scale:  1  = 1 steps")
        << "an empty unit name is accepted";

    form->mmNastrLogs->trigger();
    settings = Dialog<TFormProgProp>();
    EXPECT_FALSE(settings->chBoxLogs->isChecked());
    settings->chBoxLogs->setChecked(true);
    settings->btnOKClick();
    EXPECT_EQ(form->height(), 613);
}

TEST_F(SettingsWindowFixture, TheDialogsShowEveryCaptionWholeInBothLanguages) {
    Create();
    for (const char* language : {"en", "ru"}) {
        ASSERT_TRUE(Session().Options().ChangeLanguage(language).isEmpty());
        form->mmSettsPortNameClick();
        form->mmSettsPropClick(); // (its menu entry is disabled while the port is closed)
        form->mmNastrLogs->trigger();
        const QList<QDialog*> windows{Dialog<TFormPortName>(), Dialog<TFormByteLen>(),
                                      Dialog<TFormProgProp>()};
        for (QDialog* dialog : windows) {
            ASSERT_NE(dialog, nullptr);
            ExpectNoCaptionClipped(dialog, dialog->objectName() + "-" + language);
        }
        EXPECT_EQ(Dialog<TFormByteLen>()->rgrParity->Item(2),
                  language == QString("en") ? "Even" : QString::fromUtf8("Чёт"));
        for (QDialog* dialog : windows)
            dialog->close();
        ASSERT_TRUE(WaitUntil(
            [&] { return !Dialog<TFormPortName>() && !Dialog<TFormByteLen>() && !Dialog<TFormProgProp>(); }));
    }
}

TEST_F(SettingsWindowFixture, AnyNumberMayBeTypedAndOneOutOfRangeIsRefusedOnOK) {
    Create();
    const auto type = [](QWidget* box, const QString& text) {
        auto* edit = box->findChild<QLineEdit*>();
        edit->selectAll();
        edit->del();
        QTest::keyClicks(edit, text);
    };
    form->mmSettsPortNameClick();
    TFormPortName* dialog = Dialog<TFormPortName>();
    dialog->rgrPortName->Click(4);
    type(dialog->SpinEditPortName, "300");
    dialog->ButtonOKClick();
    EXPECT_EQ(dialogs.messages.last(), M(Msg::SetCorrectPort));
    EXPECT_EQ(Session().Controller().Connection().Choice().PortNumber(), 1u)
        << "300 is no port: the number stays";
    EXPECT_TRUE(Session().Controller().Connection().IsOpen()) << "and the port is opened on it again";
    ASSERT_TRUE(WaitUntil([&] { return Dialog<TFormPortName>() == nullptr; }));

    form->mmSettsPortNameClick();
    dialog = Dialog<TFormPortName>();
    dialog->rgrPortName->Click(4);
    type(dialog->SpinEditPortName, "COM");
    dialog->ButtonOKClick();
    EXPECT_EQ(Session().Controller().Connection().Choice().PortNumber(), 5u)
        << "text that is no number counts as 5";

    form->mmNastrError->trigger();
    TFormErrNastr* errors = Dialog<TFormErrNastr>();
    type(errors->SpinEditTime, "20000");
    errors->btnOkClick();
    EXPECT_EQ(Session().Options().Settings().ReplyTime, 10000u) << "brought into 1..10000, not cut to 2000";
    ASSERT_TRUE(WaitUntil([&] { return Dialog<TFormErrNastr>() == nullptr; }));
    form->mmNastrError->trigger();
    errors = Dialog<TFormErrNastr>();
    type(errors->SpinEditTime, "x");
    errors->btnOkClick();
    EXPECT_EQ(Session().Options().Settings().ReplyTime, 1u) << "text that is no number counts as 1";
}

TEST_F(SettingsWindowFixture, TheProgramSettingsDialogHasItsOwnTitleInBothLanguages) {
    Create();
    for (const char* language : {"en", "ru"}) {
        ASSERT_TRUE(Session().Options().ChangeLanguage(language).isEmpty());
        form->mmNastrLogs->trigger();
        form->mmNastrError->trigger();
        Dialog<TFormErrNastr>()->btnErrRunClick();
        const auto entry = [&](int i) {
            return LoadLinesFromFile(folder.File(QString("lang/%1/%1addf.lng").arg(language)), false)
                .value(i)
                .section("} ", 1);
        };
        EXPECT_EQ(Dialog<TFormProgProp>()->windowTitle(), entry(43));
        EXPECT_EQ(Dialog<TFormErrores>()->windowTitle(), entry(39)) << "the recovery dialog keeps entry 39";
        EXPECT_NE(entry(43), entry(39));
        for (QDialog* d : std::initializer_list<QDialog*>{Dialog<TFormErrores>(), Dialog<TFormErrNastr>(),
                                                          Dialog<TFormProgProp>()})
            d->close();
        ASSERT_TRUE(WaitUntil([&] { return !Dialog<TFormProgProp>() && !Dialog<TFormErrNastr>(); }));
    }
}
