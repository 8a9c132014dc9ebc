#include "lang/Lang.h"
#include "ChangeSettings.h"
#include "FakeView.h"
#include "ProgramFolder.h"
#include "ScriptedDialogs.h"
#include "core/ProgramPaths.h"
#include "core/UnitCommonDatas.h"
#include "lang/BuiltInTexts.h"
#include "lang/MessageIds.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

using Parsed = TLang::ParsedLine;

TEST(LanguageLine, MarkerThenOneSpaceDroppedThenTheTextAsItStands) {
    const auto check = [](const QString& line, int number, const QString& text) {
        const Parsed p = TLang::ParseLanguageLine(line);
        EXPECT_EQ(p.kind, Parsed::Parsed) << line.toStdString();
        EXPECT_EQ(p.number, number) << line.toStdString();
        EXPECT_EQ(p.text, text) << line.toStdString();
    };
    check("{3} Text", 3, "Text");
    check("{3}Text", 3, "Text");
    check("{3}  Text", 3, " Text");
    check("{3} Text  ", 3, "Text  ");
    check("abc{3}x", 3, "x");
    check("{1}2}x", 1, "2}x");
    check("{0012} a", 12, "a");
    check("{1a2}b", 12, "b");
    check("{12}", 12, "");
    check("{2147483647} max", 2147483647, "max");
}

TEST(LanguageLine, ShortLinesAndLinesWithoutBraceAreRejected) {
    for (const QString& line : {QString("{3}"), QString("abc"), QString(""), QString("12 Text without brace"),
                                QString("{5") + QString(TLang::MaxLineLength, 'x') + "}"}) {
        const Parsed p = TLang::ParseLanguageLine(line);
        EXPECT_EQ(p.kind, Parsed::Rejected) << line.left(20).toStdString();
        EXPECT_EQ(p.number, 0);
        EXPECT_TRUE(p.text.isEmpty());
    }
    EXPECT_EQ(TLang::ParseLanguageLine("{1}" + QString(100000, 'y')).kind, Parsed::Rejected)
        << "a line of 100,000 characters sets nothing";
}

TEST(LanguageLine, MarkersWithoutDigitsOrBeyond32BitsAreErrors) {
    EXPECT_EQ(TLang::ParseLanguageLine("{} text").kind, Parsed::BadMarker);
    EXPECT_EQ(TLang::ParseLanguageLine("{x}text").kind, Parsed::BadMarker);
    EXPECT_EQ(TLang::ParseLanguageLine("{2147483648} t").kind, Parsed::BadMarker);
    EXPECT_EQ(TLang::ParseLanguageLine("{99999999999999999999} t").kind, Parsed::BadMarker);
}

namespace {

class LangFixture : public ::testing::Test {
protected:
    LangFixture() : paths(folder.Path()), datas(view), lang(paths, datas, view) {}

    void WriteLanguage(const QString& code, const QString& part, const QByteArray& bytes) {
        folder.Write("lang/" + code + "/" + code + part + ".lng", bytes);
    }
    // A file whose line i is "{i} <prefix>i", lines 1..count-1.
    static QByteArray Numbered(int count, const QString& prefix, const char* eol = "\r\n") {
        QByteArray bytes = "title";
        bytes += eol;
        for (int i = 1; i < count; ++i)
            bytes += ("{" + QString::number(i) + "} " + prefix + QString::number(i)).toUtf8() + eol;
        return bytes;
    }

    // The message-box texts of the files that could not be read, so far.
    QStringList& Problems() {
        problems += lang.TakeFileProblems();
        return problems;
    }

    ProgramFolder folder{ProgramFolder::WithoutLanguages};
    QStringList problems;
    FakeView view;
    TProgramPaths paths;
    TCommonDatas datas;
    TLang lang;
};

} // namespace

TEST_F(LangFixture, CreatedWithTheBuiltInTables) {
    EXPECT_EQ(lang.Texts.size(), 55);
    EXPECT_EQ(lang.Messages.size(), 86);
    EXPECT_EQ(lang.Texts, BuiltIn::WindowTexts());
    EXPECT_EQ(lang.Message(Msg::ErrorOpeningPort), "*Error opening port");
    EXPECT_EQ(lang.Message(49), "*Set \"Enable\"");
    EXPECT_EQ(lang.Message(85), "*speed ");
    EXPECT_EQ(lang.Message(86), "") << "beyond the list";
    EXPECT_EQ(lang.Text(52), "Coordinates:    ");
    EXPECT_EQ(lang.LanguageFile("f1"), folder.File("lang/en/enf1.lng"));
    EXPECT_EQ(lang.LanguageFile("msg"), folder.File("lang/en/enmsg.lng"));
}

TEST_F(LangFixture, EveryLineBreakConventionReadsTheSame) {
    for (const char* eol : {"\r\n", "\n", "\r"}) {
        WriteLanguage("en", "f1", Numbered(55, "t", eol));
        EXPECT_TRUE(lang.LoadTexts("f1")) << "line break " << QByteArray(eol).toHex().toStdString();
        EXPECT_EQ(lang.Texts.size(), 55);
        EXPECT_EQ(lang.Text(54), "t54");
        EXPECT_EQ(lang.Text(0), "f1");
    }
    EXPECT_TRUE(Problems().isEmpty());
}

TEST_F(LangFixture, AMisnumberedLineSetsNothingAndMarksTheFileDamaged) {
    QByteArray bytes =
        "title\n{1} one\n{2} two\n{3} three\n{4} four\n{6} six at five\n{6} six\n\n{8} eight\n";
    WriteLanguage("en", "f1", bytes);
    EXPECT_FALSE(lang.LoadTexts("f1"));
    EXPECT_EQ(lang.Text(4), "four");
    EXPECT_EQ(lang.Text(5), " ") << "line 5 carries the marker {6}";
    EXPECT_EQ(lang.Text(6), "six");
    EXPECT_EQ(lang.Text(7), " ") << "an empty line between numbered lines is rejected";
    EXPECT_EQ(lang.Text(8), "eight");
    EXPECT_EQ(lang.Text(9), " ") << "entries the file does not reach are single spaces";
    EXPECT_TRUE(Problems().isEmpty()) << "the main window's file gives no sign of it";
}

TEST_F(LangFixture, ALongerFileLengthensTheListAndAShorterOneSetsOnlyItsEntries) {
    WriteLanguage("en", "msg", Numbered(90, "m"));
    EXPECT_TRUE(lang.LoadMessages());
    EXPECT_EQ(lang.Messages.size(), 90);
    EXPECT_EQ(lang.Message(89), "m89");
    WriteLanguage("en", "msg", Numbered(5, "short"));
    EXPECT_TRUE(lang.LoadMessages());
    EXPECT_EQ(lang.Message(4), "short4");
    EXPECT_EQ(lang.Message(5), "m5") << "messages keep what the file does not set";
    EXPECT_EQ(lang.Messages.size(), 90) << "lists only grow";
}

TEST_F(LangFixture, AMissingFileIsReportedAndLeavesSingleSpacesOrPreviousMessages) {
    EXPECT_TRUE(lang.LoadTexts("f1"));
    ASSERT_EQ(Problems().size(), 1);
    EXPECT_EQ(Problems()[0], " *File" + folder.File("lang/en/enf1.lng") + " *not found or damaged!");
    for (int i = 1; i < 55; ++i)
        ASSERT_EQ(lang.Text(i), " ") << i;
    EXPECT_TRUE(lang.LoadMessages());
    EXPECT_EQ(Problems().size(), 2);
    EXPECT_EQ(lang.Messages, BuiltIn::Messages()) << "entry 0 is \"msg\" again and the rest the defaults";
}

TEST_F(LangFixture, TheFileMessageIsBuiltFromTheCurrentMessages) {
    WriteLanguage("en", "msg", "title\n{1} File \n{2}  is missing.\n");
    lang.LoadMessages();
    lang.LoadTexts("addf");
    ASSERT_EQ(Problems().size(), 1);
    EXPECT_EQ(Problems()[0], "File " + folder.File("lang/en/enaddf.lng") + " is missing.");
}

TEST_F(LangFixture, EmptyBinaryAndHugeFilesCountAsDamagedAndChangeNothingElse) {
    const QByteArray huge(TLang::MaxFileSize + 10, 'a');
    const QByteArray binary("\x7f"
                            "ELF\x02\x01\x01\0\0\0{1} hidden\n",
                            20);
    for (const QByteArray& bytes : {QByteArray(), binary, huge}) {
        Problems().clear();
        lang.Messages = BuiltIn::Messages();
        WriteLanguage("en", "msg", bytes);
        EXPECT_TRUE(lang.LoadMessages());
        EXPECT_EQ(Problems().size(), 1) << bytes.size();
        EXPECT_EQ(lang.Messages, BuiltIn::Messages()) << bytes.size();
    }
}

TEST_F(LangFixture, ABadMarkerStopsReadingTheRestOfTheFile) {
    WriteLanguage("en", "f1", "title\n{1} one\n{} two\n{3} three\n");
    lang.LoadTexts("f1");
    EXPECT_EQ(lang.Text(1), "one");
    EXPECT_EQ(lang.Text(2), " ");
    EXPECT_EQ(lang.Text(3), " ") << "the rest of the file is skipped";
    EXPECT_EQ(Problems().size(), 1);

    Problems().clear();
    WriteLanguage("en", "f1", "title\n{1} one\n{4294967297} two\n{3} three\n");
    lang.LoadTexts("f1");
    EXPECT_EQ(lang.Text(3), " ");
    EXPECT_EQ(Problems().size(), 1);
}

TEST_F(LangFixture, AnOverlongLineIsRejectedButTheOthersLoad) {
    QByteArray bytes = "title\n{1} one\n{2} " + QByteArray(100000, 'L') + "\n{3} three\n";
    WriteLanguage("en", "f1", bytes);
    EXPECT_FALSE(lang.LoadTexts("f1"));
    EXPECT_EQ(lang.Text(2), " ");
    EXPECT_EQ(lang.Text(3), "three");
}

TEST_F(LangFixture, OlderFilesInWindows1251StillRead) {
    WriteLanguage("ru", "f1", "title\r\n{1} \xCF\xF3\xF1\xEA\r\n");
    ChangeSettings(datas, [&](TSettings& s) { s.Language = "ru"; });
    lang.LoadTexts("f1");
    EXPECT_EQ(lang.Text(1), QString::fromUtf8("Пуск"));
}

namespace {
class FakeDialog : public ICaptionTarget {
public:
    void SetCaption(const QString& name, int item, const QString& text) override {
        captions.append(name + "/" + QString::number(item) + "=" + text);
    }
    QStringList captions;
};
constexpr TCaptionSlot kDialogSlots[] = {{1, "title", -1}, {2, "item", 4}};
} // namespace

TEST_F(LangFixture, DialogsTakeTheirTextsFromTheDialogFile) {
    WriteLanguage("en", "addf", Numbered(62, "d"));
    FakeDialog dialog;
    lang.ApplyDialogLanguage(dialog, kDialogSlots, 2);
    EXPECT_EQ(dialog.captions, (QStringList{"title/-1=d1", "item/4=d2"}));
    EXPECT_EQ(lang.Text(0), "addf");
    EXPECT_TRUE(view.log.isEmpty());
}

TEST_F(LangFixture, ADamagedDialogFileIsLoggedInRedAndStillApplied) {
    WriteLanguage("en", "addf", "title\n{1} one\n{3} wrong place\n");
    FakeDialog dialog;
    lang.ApplyDialogLanguage(dialog, kDialogSlots, 2);
    ASSERT_EQ(view.log.size(), 1);
    EXPECT_EQ(view.log[0], "*One of language files is damaged.");
    EXPECT_TRUE(view.redLines[0]);
    EXPECT_EQ(dialog.captions, (QStringList{"title/-1=one", "item/4= "}));
}

TEST_F(LangFixture, ADialogFileTooShortForTheDialogKeepsItsDesignCaptions) {
    WriteLanguage("en", "addf", Numbered(62, "d"));
    FakeDialog dialog;
    lang.ApplyDialogLanguage(dialog, kDialogSlots, 61);
    EXPECT_FALSE(dialog.captions.isEmpty()) << "62 lines reach entry 61";
    dialog.captions.clear();
    EXPECT_TRUE(view.log.isEmpty());
    lang.ApplyDialogLanguage(dialog, kDialogSlots, 62);
    EXPECT_TRUE(dialog.captions.isEmpty());
    ASSERT_EQ(view.log.size(), 1);
    EXPECT_TRUE(view.redLines[0]);
}

TEST(ShippedLanguages, EveryFileSetsEveryEntryOfItsTable) {
    const QString root = ShippedLanguageFolder();
    QFile list(root + "/lang.lng");
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    const QStringList codes =
        QString::fromUtf8(list.readAll()).split(QRegularExpression("\r?\n"), Qt::SkipEmptyParts);
    EXPECT_EQ(codes, (QStringList{"en", "ru"}));
    const struct {
        const char* part;
        int entries;
    } tables[] = {{"f1", 55}, {"addf", 62}, {"msg", 86}, {"ext", int(BuiltIn::ExtraTexts().size())}};
    for (const QString& code : codes) {
        for (const auto& table : tables) {
            const QString path = root + "/" + code + "/" + code + table.part + ".lng";
            const auto lines = TLang::ReadLanguageFile(path);
            ASSERT_TRUE(lines) << path.toStdString();
            ASSERT_EQ(lines->size(), table.entries) << path.toStdString();
            for (int i = 1; i < table.entries; ++i) {
                const Parsed p = TLang::ParseLanguageLine(lines->at(i));
                EXPECT_EQ(p.kind, Parsed::Parsed) << path.toStdString() << " line " << i;
                EXPECT_EQ(p.number, i) << path.toStdString() << " line " << i;
                EXPECT_FALSE(p.text.startsWith('*')) << path.toStdString() << " line " << i;
            }
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            EXPECT_EQ(QString::fromUtf8(bytes).toUtf8(), bytes) << "UTF-8: " << path.toStdString();
        }
    }
}

TEST(ShippedLanguages, ExtraTextsAreTheBuiltInOnesAndKeepTheirPlaceholders) {
    const auto english = TLang::ReadLanguageFile(ShippedLanguageFolder() + "/en/enext.lng");
    const auto russian = TLang::ReadLanguageFile(ShippedLanguageFolder() + "/ru/ruext.lng");
    ASSERT_TRUE(english && russian);
    const QStringList& builtIn = BuiltIn::ExtraTexts();
    const QRegularExpression placeholder("%[0-9]");
    for (qsizetype i = 1; i < builtIn.size(); ++i) {
        EXPECT_EQ(TLang::ParseLanguageLine(english->value(i)).text, builtIn[i]) << "entry " << i;
        QStringList wanted, found;
        for (auto m = placeholder.globalMatch(builtIn[i]); m.hasNext();)
            wanted.append(m.next().captured());
        for (auto m = placeholder.globalMatch(TLang::ParseLanguageLine(russian->value(i)).text); m.hasNext();)
            found.append(m.next().captured());
        wanted.sort();
        found.sort();
        EXPECT_EQ(found, wanted) << "entry " << i;
    }
}

TEST_F(LangFixture, ALanguageWithoutExtraTextsShowsThemInEnglishWithoutAMessage) {
    WriteLanguage("xx", "ext", Numbered(3, "own "));
    ChangeSettings(datas, [&](TSettings& s) { s.Language = "xx"; });
    lang.LoadExtraTexts();
    EXPECT_EQ(lang.ExtraText(1), "own 1");
    EXPECT_EQ(lang.ExtraText(3), BuiltIn::ExtraTexts()[3]) << "entries the file lacks stay English";
    ChangeSettings(datas, [&](TSettings& s) { s.Language = "yy"; }); // no file at all
    lang.LoadExtraTexts();
    EXPECT_EQ(lang.Extra, BuiltIn::ExtraTexts()) << "back to English, not the previous language";
    EXPECT_TRUE(Problems().isEmpty());
    EXPECT_TRUE(view.log.isEmpty());
}
