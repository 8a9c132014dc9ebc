#include "core/AppError.h"
#include "core/EncodStr.h"
#include "core/TextCodec.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray ReadRaw(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void WriteRaw(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray AllBytes() {
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    return bytes;
}

} // namespace

TEST(EncodedStream, EveryByteRoundTripsAndLiesOnDiskShiftedByTheOffset) {
    QTemporaryDir dir;
    const QString path = dir.filePath("all.dat");
    const QByteArray bytes = AllBytes();
    {
        TEncodedStream stream(path, TEncodedStream::fmCreate, true);
        EXPECT_EQ(stream.Write(bytes.constData(), bytes.size()), bytes.size());
        stream.Commit();
    }
    const QByteArray disk = ReadRaw(path);
    ASSERT_EQ(disk.size(), 256);
    const quint8 offset = TEncodedStream::Offset();
    EXPECT_NE(offset, 0) << "a zero offset would leave the files plain";
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(quint8(disk[i]), quint8(i + offset)) << i;

    // Read back in uneven pieces: the shift does not depend on the position.
    TEncodedStream stream(path, TEncodedStream::fmOpenRead, true);
    QByteArray back(256, '\0');
    qint64 total = 0;
    for (qint64 piece : {1, 7, 100, 1000}) {
        total += stream.Read(back.data() + total, std::min<qint64>(piece, 256 - total));
    }
    EXPECT_EQ(total, 256);
    EXPECT_EQ(back, bytes);
    EXPECT_EQ(stream.Read(back.data(), 10), 0) << "nothing after the end";
    ASSERT_TRUE(stream.Seek(200));
    char c = 0;
    ASSERT_EQ(stream.Read(&c, 1), 1);
    EXPECT_EQ(quint8(c), 200);
}

TEST(EncodedStream, WithoutScramblingTheFileIsTheTextAsItStands) {
    QTemporaryDir dir;
    const QString path = dir.filePath("port.log");
    SaveLinesToFile(path, {"E15*", "ST1*", ""}, false);
    EXPECT_EQ(ReadRaw(path), QByteArray("E15*\r\nST1*\r\n\r\n"));
}

TEST(EncodedStream, EmptyListGivesEmptyFileAndBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("empty.kvt");
    SaveLinesToFile(path, {}, true);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFileInfo(path).size(), 0);
    EXPECT_TRUE(LoadLinesFromFile(path, true).isEmpty());
}

TEST(EncodedStream, CreateReplacesTheWholeOldContents) {
    QTemporaryDir dir;
    const QString path = dir.filePath("prog.kvt");
    SaveLinesToFile(path, {"LD1", "BG", "EN", "MV1000", "ED"}, true);
    SaveLinesToFile(path, {"ST1"}, true);
    EXPECT_EQ(LoadLinesFromFile(path, true), QStringList{"ST1"});
}

TEST(EncodedStream, AnUncommittedSaveLeavesTheEarlierFileWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath("prog.kvt");
    SaveLinesToFile(path, {"MV2000", "SD400"}, true);
    {
        TEncodedStream stream(path, TEncodedStream::fmCreate, true);
        stream.Write("XX", 2);
        // destroyed without Commit, as when the writer fails half way
    }
    EXPECT_EQ(LoadLinesFromFile(path, true), (QStringList{"MV2000", "SD400"}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"prog.kvt"}) << "no stray temporary file";
}

TEST(EncodedStream, FailuresCarryTheFileStreamTexts) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("none.kvt");
    try {
        LoadLinesFromFile(missing, true);
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_TRUE(e.Text().startsWith(QString("Cannot open file \"%1\". ").arg(missing)))
            << e.Text().toStdString();
        EXPECT_GT(e.Text().size(), QString("Cannot open file \"%1\". ").arg(missing).size())
            << "a reason follows";
    }
    const QString noFolder = dir.filePath("Data/prp.dat");
    try {
        SaveLinesToFile(noFolder, {"1"}, true);
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_TRUE(e.Text().startsWith(QString("Cannot create file \"%1\". ").arg(noFolder)))
            << e.Text().toStdString();
    }
    EXPECT_FALSE(QFile::exists(noFolder));
}

TEST(EncodedStream, LinesSplitAtEveryKindOfBreakAndEndAtAZeroByte) {
    EXPECT_EQ(SplitFileLines("a\r\nb\nc\rd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitFileLines("a\r\n"), QStringList{"a"}) << "a final break starts no line";
    EXPECT_EQ(SplitFileLines("a\r\n\r\nb"), (QStringList{"a", "", "b"}));
    EXPECT_EQ(SplitFileLines("a\n\rb"), (QStringList{"a", "", "b"})) << "LF CR is two breaks";
    EXPECT_EQ(SplitFileLines(QByteArray("ab\0cd\nef", 8)), QStringList{"ab"});
    EXPECT_TRUE(SplitFileLines("").isEmpty());
}

TEST(EncodedStream, TextReadsAsUtf8WhenValidAndAsWindows1251Otherwise) {
    const QString russian = QString::fromUtf8("Файл ОК");
    QTemporaryDir dir;
    const QString path = dir.filePath("t.lng");
    SaveLinesToFile(path, {russian}, false);
    EXPECT_EQ(LoadLinesFromFile(path, false), QStringList{russian});

    // The same words as an older installation wrote them, in Windows-1251.
    WriteRaw(path, QByteArray("\xD4\xE0\xE9\xEB \xCE\xCA\r\n"));
    EXPECT_EQ(LoadLinesFromFile(path, false), QStringList{russian});
    EXPECT_EQ(TextCodec::DecodeWindows1251("\xA8\xB8\xB9\x88"), QString::fromUtf8("Ёё№€"));

    // One line cut inside a letter garbles that line alone, and the file is known to mix.
    const QByteArray utf8 = russian.toUtf8();
    const TFileText text = ReadFileText(utf8 + "\r\n" + utf8.left(3) + "\r\n" + utf8 + "\r\n");
    EXPECT_EQ(text.lines[0], russian);
    EXPECT_EQ(text.lines[2], russian);
    EXPECT_EQ(text.guessedLines, QList<qsizetype>{1});
    EXPECT_FALSE(text.lastLineUnended);
    EXPECT_TRUE(ReadFileText("a\r\nb").lastLineUnended);
}
