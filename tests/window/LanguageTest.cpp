#include "CaptionCheck.h"
#include "ProgramFolder.h"
#include "ScriptedDialogs.h"
#include "SessionRooms.h"
#include "Simulator.h"
#include "Startup.h"
#include "Unit1.h"
#include "UnitLang.h"
#include "Wait.h"
#include "WindowFixture.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "lang/BuiltInTexts.h"
#include "lang/Lang.h"
#include "widgets/Captions.h"
#include "widgets/LogView.h"
#include "widgets/RadioGroup.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>

namespace {

class LanguageFixture : public ::testing::Test {
protected:
    explicit LanguageFixture(ProgramFolder::Languages languages = ProgramFolder::WithShippedLanguages)
        : folder(languages) {}
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(simulator.Start(folder.File("ports/COM1").toStdString(), &error)) << error;
    }
    void Start() { program = StartProgram(folder.Path()); }
    TForm1* Form() const { return program->Form1.get(); }
    QString Caption(const QString& name, int item = -1) const { return ControlCaption(Form(), name, item); }
    QStringList LogLines() const { return Form()->findChild<TLogView*>("MemoLog")->Lines(); }

    // Every control that takes a language entry, and the composed captions, hold a real text.
    QStringList BlankCaptions() const {
        QStringList blank;
        for (const TCaptionSlot& slot : TLang::MainWindowSlots()) {
            if (Caption(slot.objectName, slot.item).trimmed().isEmpty())
                blank.append(slot.objectName);
        }
        for (const char* name : {"StTSpeed", "StTBeginSpeed", "GrBoxStepsToUnits", "lblTrunc"}) {
            if (Caption(name).trimmed().isEmpty())
                blank.append(name);
        }
        return blank;
    }

    // In both control modes, no caption is cut off; pictures are saved on request.
    void ExpectNothingClipped(const QString& language) {
        for (int mode : {0, 1}) {
            Form()->rgrSingl_Mult->Click(mode);
            ExpectNoCaptionClipped(Form(), QString("main-%1-%2").arg(language).arg(mode));
        }
    }

    ProgramFolder folder;
    ScriptedDialogs dialogs;
    kvtsim::Simulator simulator;
    std::unique_ptr<TProgram> program;
};

class NoLanguageFixture : public LanguageFixture {
protected:
    NoLanguageFixture() : LanguageFixture(ProgramFolder::WithoutLanguages) {}
};

} // namespace

TEST_F(LanguageFixture, EnglishStartsCompleteWithoutAnyFileMessage) {
    Start();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(" | ").toStdString();
    EXPECT_TRUE(LogLines().isEmpty()) << LogLines().join(" | ").toStdString();
    EXPECT_EQ(Form()->windowTitle(), "KVT_Program - ver.4.0.1");
    EXPECT_EQ(Caption("StTSpeed"), "Maximum speed");
    EXPECT_EQ(Caption("StTBeginSpeed"), "Start speed");
    EXPECT_EQ(Caption("GrBoxStepsToUnits"), "Scale:  1 Step = 1 steps");
    EXPECT_EQ(Caption("lblTrunc"), "Rounding down");
    EXPECT_EQ(Caption("rgrDirect"), "Direction");
    EXPECT_EQ(Caption("rgrSingl_Mult", 1), "Extended control mode");
    EXPECT_EQ(Caption("StringGridSend", 2), "Command");
    EXPECT_EQ(Caption("mmSettsPortName"), "Choose port");
    EXPECT_EQ(Caption("mmNastrError"), "Error handling");
    EXPECT_EQ(Form()->Session().Datas().Texts().RoundDownText, "Rounding down");
    EXPECT_EQ(Form()->Session().Datas().Texts().CoordText, "Coordinate");
    EXPECT_EQ(Form()->Session().Lang().Text(0), "addf") << "the hidden language dialog loaded its texts last";
    EXPECT_EQ(program->FormLang->windowTitle(), "Set language");
    EXPECT_EQ(program->FormLang->ComboBoxLang->count(), 2);
    EXPECT_TRUE(BlankCaptions().isEmpty()) << BlankCaptions().join(", ").toStdString();
    ExpectNothingClipped("en");
}

TEST_F(LanguageFixture, RussianShowsCompleteRussianCaptions) {
    Start();
    ASSERT_TRUE(SwitchLanguage(*Form(), "ru"));
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(" | ").toStdString();
    EXPECT_EQ(Form()->windowTitle(), "KVT_Program - ver.4.0.1");
    // Another station's folder: its name after the described title, in any language.
    Form()->ShowFolderName("station2");
    EXPECT_EQ(Form()->windowTitle(), "KVT_Program - ver.4.0.1 [station2]");
    Form()->ShowFolderName("");
    EXPECT_EQ(Caption("btnOpenPort"), QString::fromUtf8("Открыть порт"));
    EXPECT_EQ(Caption("StTSpeed"), QString::fromUtf8("Максимальная скорость"));
    EXPECT_EQ(Caption("btnStopSending"), QString::fromUtf8("Прервать"));
    EXPECT_EQ(Caption("GrBoxStepsToUnits"), QString::fromUtf8("Масштаб:  1 Step = 1 шагов"));
    EXPECT_EQ(Form()->Session().Lang().Message(22), QString::fromUtf8("Нет ответа от контроллера!"));
    EXPECT_TRUE(BlankCaptions().isEmpty()) << BlankCaptions().join(", ").toStdString();
    ExpectNothingClipped("ru");
    TFormLang dialog(Form()->Session().Options());
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Выбор языка"));
    EXPECT_TRUE(LogLines().isEmpty()) << LogLines().join(" | ").toStdString();
}

TEST_F(NoLanguageFixture, StartsWithFiveFileMessagesAndBlankCaptions) {
    Start();
    const QString lang = folder.File("lang/");
    const auto box = [](const QString& path) { return " *File" + path + " *not found or damaged!"; };
    EXPECT_EQ(dialogs.messages,
              (QStringList{box(lang + "en/enmsg.lng"), box(lang + "en/enf1.lng"), box(lang + "en/enmsg.lng"),
                           box(lang + "en/enaddf.lng"), box(lang + "lang.lng")}));
    EXPECT_EQ(Form()->Session().Lang().Messages, BuiltIn::Messages());
    EXPECT_EQ(Form()->windowTitle(), "  - ver.4.0.1");
    for (const TCaptionSlot& slot : TLang::MainWindowSlots())
        EXPECT_EQ(Caption(slot.objectName, slot.item), " ") << slot.objectName;
    EXPECT_EQ(Caption("StTSpeed"), "   ");
    EXPECT_EQ(program->FormLang->ComboBoxLang->count(), 0);
    EXPECT_TRUE(LogLines().isEmpty()) << "a missing file is no damaged file";
}

TEST_F(LanguageFixture, DamagedFilesAtStartLeaveTheProgramRunning) {
    folder.Write("lang/en/enf1.lng",
                 "title\n{1} KVT_Program\n{2} " + QByteArray(100000, 'x') + "\n{3} Port\n");
    folder.Write("lang/en/enmsg.lng", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    folder.Write("lang/en/enaddf.lng", "title\n{1} one\n{99999999999} two\n");
    Start();
    ASSERT_GE(dialogs.messages.size(), 3);
    EXPECT_TRUE(
        dialogs.messages.contains(" *File" + folder.File("lang/en/enmsg.lng") + " *not found or damaged!"));
    EXPECT_TRUE(
        dialogs.messages.contains(" *File" + folder.File("lang/en/enaddf.lng") + " *not found or damaged!"));
    EXPECT_EQ(Form()->windowTitle(), "KVT_Program - ver.4.0.1");
    EXPECT_EQ(Caption("mmFile"), " ") << "the overlong line sets nothing";
    EXPECT_EQ(Caption("mmSetts"), "Port");
    EXPECT_EQ(Form()->Session().Lang().Messages, BuiltIn::Messages());
    EXPECT_TRUE(Form()->Session().Controller().Connection().IsOpen());
}
