// Program files on disk: the stored bytes, saves that are interrupted or fail, and files that
// are damaged, huge, or not files at all.
#include "editor/ProgramFiles.h"
#include "FakeView.h"
#include "core/AppError.h"
#include "core/EncodStr.h"
#include "core/ProgramPaths.h"
#include "core/UnitCommonDatas.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray Scrambled(const QByteArray& text) {
    QByteArray bytes = text;
    for (char& c : bytes)
        c = char(quint8(c) + 93);
    return bytes;
}

class ProgramFilesFixture : public ::testing::Test {
protected:
    QString File(const QString& name) const { return dir.filePath(name); }
    ProgramFiles::TLoaded Load(const QString& name) { return ProgramFiles::Load(File(name), lang); }
    void Save(const QString& name, const ProgramFiles::TProgram& program) {
        ProgramFiles::Save(File(name), program, lang);
    }
    // The reason of the error a load of `name` throws.
    QString LoadError(const QString& name) {
        try {
            Load(name);
        } catch (const EFileError& error) {
            return error.Text();
        }
        return "no error";
    }

    QTemporaryDir dir;
    FakeView view;
    TCommonDatas datas{view};
    TProgramPaths paths{dir.path()};
    TLang lang{paths, datas, view};
};

const QStringList kGoldenLines{"LD1", "BG", "EN", "MV1000", "AL+5", "ED"};
const QStringList kGoldenDescriptions{QString::fromUtf8("Загрузить программу в координату 1"),
                                      QString::fromUtf8("Начало программы"),
                                      QString::fromUtf8("Разрешить движение"),
                                      QString::fromUtf8("Движение  1000 шагов"),
                                      QString::fromUtf8("Ускорение  5"),
                                      QString::fromUtf8("Конец программы")};

} // namespace

TEST_F(ProgramFilesFixture, TheGoldenPairReadsAndIsWrittenByteForByte) {
    // tests/data/golden.* were written once by hand: UTF-8, CR LF, every byte plus 93.
    const QString source = QString(KVT_SOURCE_DIR) + "/tests/data/golden";
    QFile::copy(source + ".kvt", File("golden.kvt"));
    QFile::copy(source + "._kvt", File("golden._kvt"));
    const auto loaded = Load("golden.kvt");
    EXPECT_EQ(loaded.program.lines, kGoldenLines);
    EXPECT_EQ(loaded.program.descriptions, kGoldenDescriptions);
    EXPECT_TRUE(loaded.damage.isEmpty()) << loaded.damage.join(" | ").toStdString();

    Save("again.kvt", {kGoldenLines, kGoldenDescriptions});
    EXPECT_EQ(ReadBytes(File("again.kvt")), ReadBytes(source + ".kvt"));
    EXPECT_EQ(ReadBytes(File("again._kvt")), ReadBytes(source + "._kvt"));
    EXPECT_FALSE(QFileInfo::exists(TEncodedStream::TemporaryName(File("again.kvt"))));
    EXPECT_FALSE(QFileInfo::exists(TEncodedStream::HelperName(File("again.kvt"), "old")));
}

TEST_F(ProgramFilesFixture, EmptyProgramsAndAFailedCompanionLeaveTheEarlierPair) {
    Save("p.kvt", {});
    EXPECT_EQ(QFileInfo(File("p.kvt")).size(), 0);
    EXPECT_EQ(QFileInfo(File("p._kvt")).size(), 0);
    EXPECT_TRUE(Load("p.kvt").program.lines.isEmpty());

    // A companion's name that is no regular file (a folder, a link, a device): refused before
    // anything is written, the earlier program file as it was.
    Save("r.kvt", {{"BG"}, {"begin"}});
    QFile::remove(File("r._kvt"));
    QDir(dir.path()).mkdir("r._kvt");
    try {
        Save("r.kvt", {{"XX"}, {"wrong"}});
        FAIL() << "no error";
    } catch (const EFileError& error) {
        EXPECT_EQ(error.Text(),
                  EFileError::CannotCreate(File("r._kvt"), lang.ExtraText(Ext::NotARegularFile)).Text());
    }
    for (const QString& name : {QString("link.kvt"), QString("fifo.kvt")}) {
        if (name == "link.kvt")
            ASSERT_TRUE(QFile::link(File("r.kvt"), File(name)));
        else
            ASSERT_EQ(::mkfifo(QFile::encodeName(File(name)).constData(), 0600), 0);
        EXPECT_THROW(Save(name, {{"BG"}, {"begin"}}), EFileError) << name.toStdString();
        EXPECT_FALSE(QFileInfo(File(name)).isFile() && !QFileInfo(File(name)).isSymLink())
            << "never turned into a regular file";
    }
    EXPECT_EQ(LoadLinesFromFile(File("r.kvt"), true), QStringList{"BG"});
    EXPECT_FALSE(QFileInfo::exists(TEncodedStream::TemporaryName(File("r._kvt"))));
    EXPECT_TRUE(LoadError("r.kvt").startsWith("Cannot open file")) << "a companion that cannot be read";
}

TEST_F(ProgramFilesFixture, ASaveInterruptedBetweenItsStepsIsCompletedOrUndone) {
    Save("p.kvt", {{"BG"}, {"old"}});
    // Stopped after the program file was replaced, before its companion was: the companion's
    // synced temporary file is still there, and it is the one that belongs to the new program.
    SaveLinesToFile(File("p.kvt"), {"EN"}, true);
    SaveLinesToFile(File("p._kvt.tmp"), {"new"}, true);
    QFile::rename(File("p._kvt.tmp"), TEncodedStream::TemporaryName(File("p._kvt")));
    auto loaded = Load("p.kvt");
    EXPECT_EQ(loaded.program.lines, QStringList{"EN"});
    EXPECT_EQ(loaded.program.descriptions, QStringList{"new"});
    EXPECT_FALSE(QFileInfo::exists(TEncodedStream::TemporaryName(File("p._kvt"))));

    // Stopped before anything was replaced: both temporary files go, the pair stays.
    WriteBytes(TEncodedStream::TemporaryName(File("p.kvt")), Scrambled("XX\r\n"));
    WriteBytes(TEncodedStream::TemporaryName(File("p._kvt")), Scrambled("half"));
    loaded = Load("p.kvt");
    EXPECT_EQ(loaded.program.lines, QStringList{"EN"});
    EXPECT_EQ(loaded.program.descriptions, QStringList{"new"});
    EXPECT_FALSE(QFileInfo::exists(TEncodedStream::TemporaryName(File("p.kvt"))));
    EXPECT_FALSE(QFileInfo::exists(TEncodedStream::TemporaryName(File("p._kvt"))));
}

TEST_F(ProgramFilesFixture, TheOperatorsOwnFilesBesideAProgramAreNeverTouched) {
    for (const char* own : {"p.kvt.old", "p.kvt.new", "p._kvt.new", "p._kvt.old"})
        WriteBytes(File(own), "the operator's own");
    Save("p.kvt", {{"BG"}, {"begin"}});
    Load("p.kvt");
    Save("p.kvt", {{"EN"}, {"enable"}});
    for (const char* own : {"p.kvt.old", "p.kvt.new", "p._kvt.new", "p._kvt.old"})
        EXPECT_EQ(ReadBytes(File(own)), "the operator's own") << own;

    // A first save of a new name, cut between its two replacements: the program file is there,
    // the companion only as its finished temporary file. The check that the companion is there
    // completes the save first.
    SaveLinesToFile(File("first.kvt"), {"LD1"}, true);
    SaveLinesToFile(TEncodedStream::TemporaryName(File("first._kvt")), {"load"}, true);
    ASSERT_FALSE(QFileInfo::exists(File("first._kvt")));
    EXPECT_TRUE(ProgramFiles::CompanionExists(File("first.kvt")));
    EXPECT_EQ(Load("first.kvt").program.descriptions, QStringList{"load"});
}

TEST_F(ProgramFilesFixture, AFullDiskIsReportedWithTheSystemsReason) {
    Save("p.kvt", {{"BG"}, {"begin"}});
    // A file size limit makes every write beyond it fail, as a full disk does.
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit tiny = old;
    tiny.rlim_cur = 8;
    setrlimit(RLIMIT_FSIZE, &tiny);
    QString text;
    try {
        Save("p.kvt", {QStringList(100, "MV1000"), QStringList(100, "a description")});
    } catch (const EFileError& error) {
        text = error.Text();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    sigaction(SIGXFSZ, &previous, nullptr);
    EXPECT_TRUE(text.contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << text.toStdString();
    EXPECT_FALSE(text.contains("Unknown error")) << text.toStdString();
    EXPECT_EQ(Load("p.kvt").program.lines, QStringList{"BG"}) << "the earlier pair is whole";
}

TEST_F(ProgramFilesFixture, CutFilesZeroBytesAndMixedEncodingsAreReported) {
    WriteBytes(File("cut.kvt"), Scrambled("LD1\r\nSD20"));
    WriteBytes(File("cut._kvt"), Scrambled("a\r\nb\r\n"));
    auto loaded = Load("cut.kvt");
    EXPECT_EQ(loaded.program.lines, (QStringList{"LD1", "SD20"}));
    ASSERT_EQ(loaded.damage.size(), 1);
    EXPECT_EQ(loaded.damage[0], lang.ExtraText(Ext::FileCutShort).arg(File("cut.kvt")));

    WriteBytes(File("zero.kvt"), Scrambled(QByteArray("BG\r\n\0EN\r\n", 9)));
    WriteBytes(File("zero._kvt"), Scrambled("a\r\nb\r\n"));
    loaded = Load("zero.kvt");
    EXPECT_EQ(loaded.program.lines, QStringList{"BG"});
    EXPECT_EQ(loaded.damage, QStringList{lang.ExtraText(Ext::FileZeroByte).arg(File("zero.kvt"))});

    // A companion cut inside a Cyrillic letter: only that line is read otherwise.
    const QByteArray russian = QString::fromUtf8("Движение").toUtf8();
    WriteBytes(File("mixed.kvt"), Scrambled("MV1\r\nMV2\r\n"));
    WriteBytes(File("mixed._kvt"), Scrambled(russian + "\r\n" + russian.left(5) + "\r\n"));
    loaded = Load("mixed.kvt");
    EXPECT_EQ(loaded.program.descriptions.first(), QString::fromUtf8("Движение")) << "the whole line reads";
    EXPECT_EQ(loaded.damage,
              QStringList{lang.ExtraText(Ext::FileMixedEncodings).arg(File("mixed._kvt")).arg(2)});

    // An older file in Windows-1251 throughout is no damage.
    WriteBytes(File("old.kvt"), Scrambled("MV1\r\n"));
    WriteBytes(File("old._kvt"), Scrambled("\xC4\xE2\xE8\xE6\xE5\xED\xE8\xE5\r\n"));
    loaded = Load("old.kvt");
    EXPECT_EQ(loaded.program.descriptions, QStringList{QString::fromUtf8("Движение")});
    EXPECT_TRUE(loaded.damage.isEmpty());
}

TEST_F(ProgramFilesFixture, HugeLineCountsPipesAndDevicesAreRefusedWithoutReadingThem) {
    // A megabyte of line breaks: far under the size limit, far over any program.
    WriteBytes(File("breaks.kvt"), Scrambled(QByteArray(1 << 20, '\n')));
    WriteBytes(File("breaks._kvt"), "");
    EXPECT_TRUE(LoadError("breaks.kvt").contains(lang.ExtraText(Ext::TooManyLines).arg(1 << 20).arg(65535)))
        << LoadError("breaks.kvt").toStdString();
    WriteBytes(File("max.kvt"),
               Scrambled(QByteArray(ProgramFiles::MaxLines * 4, 'B').replace("BBBB", "BG\r\n")));
    WriteBytes(File("max._kvt"), "");
    EXPECT_EQ(Load("max.kvt").program.lines.size(), ProgramFiles::MaxLines) << "the limit itself loads";

    ASSERT_EQ(::mkfifo(QFile::encodeName(File("pipe.kvt")).constData(), 0644), 0);
    WriteBytes(File("pipe._kvt"), "");
    EXPECT_TRUE(LoadError("pipe.kvt").contains(lang.ExtraText(Ext::NotARegularFile)));
    ASSERT_TRUE(QFile::link("/dev/zero", File("device.kvt")));
    WriteBytes(File("device._kvt"), "");
    EXPECT_TRUE(LoadError("device.kvt").contains(lang.ExtraText(Ext::NotARegularFile)));
    // The stream itself never blocks on a pipe, whoever opens it.
    EXPECT_THROW(LoadLinesFromFile(File("pipe.kvt"), true), EFileError);
}
