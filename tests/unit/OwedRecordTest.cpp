// What a line owes, kept for the next session in this user's private place: never in a folder
// others may enter, never read from a pipe, a link or another user's file, never waited for
// longer than a few reply times, whatever the record says.
#include "core/PrivatePlace.h"
#include "protocol/OwedAnswers.h"
#include "session/controller/OwedAnswer.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class OwedRecord : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        runtime = dir.path() + "/runtime";
        ASSERT_EQ(::mkdir(QFile::encodeName(runtime).constData(), 0700), 0);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.path() + "/cache"));
        device = dir.path() + "/ttyTest";
        QFile(device).open(QIODevice::WriteOnly);
    }
    void TearDown() override {
        qunsetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_CACHE_HOME");
    }
    // A record as a session writes it, asking for `waitMs`.
    QByteArray Record(qint64 waitMs) const {
        struct stat status {};
        ::stat(QFile::encodeName(device).constData(), &status);
        const qint64 made = qint64(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec;
        return QString("1 1 %1 %2 SD100\n")
            .arg(QDateTime::currentMSecsSinceEpoch() + waitMs)
            .arg(made)
            .toUtf8();
    }
    qint64 OwedFor(int longestWaitMs) {
        TOwedAnswers book;
        OwedAnswer::Restore(device, book, longestWaitMs);
        return book.OwedNow(0).second;
    }
    QTemporaryDir dir;
    QString runtime, device;
};

} // namespace

TEST_F(OwedRecord, OnlyAPrivateFolderOfThisUsersHoldsIt) {
    EXPECT_EQ(QFileInfo(OwedAnswer::FileFor(device)).path(), runtime);
    // A runtime folder others may enter is not used: the user's own cache folder is.
    ASSERT_EQ(::chmod(QFile::encodeName(runtime).constData(), 0777), 0);
    const QString folder = PrivatePlace::Folder();
    EXPECT_EQ(folder, dir.path() + "/cache/kvt-program");
    EXPECT_TRUE(PrivatePlace::IsPrivateFolder(folder));
    EXPECT_EQ(QFileInfo(OwedAnswer::FileFor(device)).path(), folder);
    // A link to a folder is no private folder.
    ASSERT_TRUE(QFile::link(runtime, dir.path() + "/linked"));
    EXPECT_FALSE(PrivatePlace::IsPrivateFolder(dir.path() + "/linked"));
}

TEST_F(OwedRecord, APlantedPipeLinkOrForgedRecordIsNeitherFollowedNorWaitedFor) {
    const QString record = OwedAnswer::FileFor(device);
    // A pipe: read without blocking, and gone.
    ASSERT_EQ(::mkfifo(QFile::encodeName(record).constData(), 0600), 0);
    EXPECT_EQ(OwedFor(1500), 0);
    EXPECT_FALSE(QFileInfo::exists(record));

    // A link to a file of the user's: not read, and a record written replaces the link, not the file.
    const QString target = dir.path() + "/precious";
    QFile precious(target);
    ASSERT_TRUE(precious.open(QIODevice::WriteOnly));
    const QByteArray kept = Record(60000);
    precious.write(kept);
    precious.close();
    ASSERT_TRUE(QFile::link(target, record));
    EXPECT_EQ(OwedFor(1500), 0) << "a link is not read";
    ASSERT_TRUE(QFile::link(target, record));
    TOwedAnswers owing;
    owing.NoteUnanswered("SD100", 1, [](const QString&) { return false; });
    OwedAnswer::Keep(device, owing, 1000);
    EXPECT_FALSE(QFileInfo(record).isSymLink());
    EXPECT_EQ(QFileInfo(record).permissions() & (QFile::ReadOther | QFile::ReadGroup), 0);
    ASSERT_TRUE(precious.open(QIODevice::ReadOnly));
    EXPECT_EQ(precious.readAll(), kept) << "the file the link named is untouched";
    precious.close();
    EXPECT_GT(OwedFor(1500), 0) << "the record it wrote instead is its own";

    // A forged record asking for a day: a few reply times at most.
    ASSERT_TRUE(PrivatePlace::WriteOwnFile(record, Record(24 * 3600 * 1000)));
    const qint64 waited = OwedFor(1500);
    EXPECT_GT(waited, 0);
    EXPECT_LE(waited, 1500);

    // A record another user owns (where the test may make one) is not trusted.
    if (::getuid() == 0) {
        ASSERT_TRUE(PrivatePlace::WriteOwnFile(record, Record(60000)));
        ASSERT_EQ(::chown(QFile::encodeName(record).constData(), 4242, 4242), 0);
        EXPECT_EQ(OwedFor(1500), 0);
    }
}
