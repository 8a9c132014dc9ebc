// The run journal's files (several writers, a crash, the bounds) and the rule of where a stopped
// sending goes on.
#include "editor/ResumePoint.h"
#include "journal/JournalFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TJournalRecord Record(const QString& kind, int n, const QDateTime& time = QDateTime::currentDateTime(),
                      int padding = 0) {
    return {time, "test", kind, n % 4, {{"n", n}, {"padding", QString(padding, 'x')}}};
}

QList<TJournalRecord> ReadAll(const TJournalFiles& files, const QDateTime& since = {}) {
    QList<TJournalRecord> records;
    files.Read(since, [&](const TJournalRecord& r) {
        records << r;
        return true;
    });
    return records;
}

} // namespace

TEST(Journal, FourProcessesAppendingAtOnceLoseAndCutNoRecord) {
    QTemporaryDir dir;
    TJournalFiles files(dir.path());
    constexpr int writers = 4, each = 300;
    std::vector<pid_t> children;
    for (int w = 0; w < writers; ++w) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            TJournalFiles mine(dir.path());
            bool ok = true;
            // Records larger than a pipe's atomic write, so that only the lock keeps them whole.
            for (int i = 0; i < each; ++i)
                ok = mine.Append(Record("write", w * 1000 + i, QDateTime::currentDateTime(), 9000)) && ok;
            _exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const QList<TJournalRecord> records = ReadAll(files);
    ASSERT_EQ(records.size(), writers * each);
    std::set<int> seen;
    for (const TJournalRecord& r : records) {
        seen.insert(r.fields["n"].toInt());
        EXPECT_EQ(r.fields["padding"].toString().size(), 9000);
    }
    EXPECT_EQ(int(seen.size()), writers * each) << "every record once";
}

TEST(Journal, AKilledWriterLeavesAJournalThatReadsToItsLastWholeRecord) {
    QTemporaryDir dir;
    TJournalFiles files(dir.path());
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        TJournalFiles mine(dir.path());
        for (int i = 0;; ++i) {
            mine.Append(Record("write", i, QDateTime::currentDateTime(), 20000));
            if (i == 50)
                (void)!write(ready[1], "r", 1);
        }
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1); // fifty-one records are in, the next on its way
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    // A torn line as a crash inside a write leaves it, then a record of this process.
    const QString file = dir.path() + '/' + files.Files().last();
    QFile torn(file);
    ASSERT_TRUE(torn.open(QIODevice::Append));
    torn.write(R"({"time":"2026-12-09T10:00:00.000+00:00","who":"test","kind":"wri)");
    torn.close();
    ASSERT_TRUE(files.Append(Record("closed", 1)));

    const QList<TJournalRecord> records = ReadAll(files);
    ASSERT_GE(records.size(), 52);
    for (int i = 0; i < records.size() - 1; ++i)
        EXPECT_EQ(records[i].fields["n"].toInt(), i) << "in order, none lost before the kill";
    EXPECT_EQ(records.last().kind, "closed") << "the torn line is skipped, the next record whole";
}

TEST(Journal, ItKeepsItsBoundsOldestFirstAndTouchesOnlyItsOwnFiles) {
    QTemporaryDir dir;
    TJournalFiles files(dir.path());
    // Thirty months of a record each, and files that are not the journal's.
    const QDateTime start(QDate(2024, 1, 15), QTime(12, 0));
    QFile(dir.path() + "/journal-notes.txt").open(QIODevice::WriteOnly);
    QFile(dir.path() + "/journal-2023-01.jsonl.bak").open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(dir.path() + "/journal-notes.txt", dir.path() + "/journal-2023-02.jsonl"));
    for (int m = 0; m < 30; ++m)
        ASSERT_TRUE(files.Append(Record("opened", m, start.addMonths(m))));
    const QStringList kept = files.Files();
    ASSERT_EQ(kept.size(), TJournalFiles::MaxMonths);
    EXPECT_EQ(kept.first(), "journal-2024-07.jsonl") << "the six oldest months went";
    EXPECT_EQ(kept.last(), "journal-2026-06.jsonl");
    for (const char* other : {"journal-notes.txt", "journal-2023-01.jsonl.bak", "journal-2023-02.jsonl"})
        EXPECT_TRUE(QFileInfo(dir.path() + '/' + other).isSymLink() ||
                    QFile::exists(dir.path() + '/' + other))
            << other;
    // Reading from a day on skips what came before it.
    const QList<TJournalRecord> since = ReadAll(files, QDateTime(QDate(2026, 5, 1), QTime(0, 0)));
    ASSERT_EQ(since.size(), 2);
    EXPECT_EQ(since.first().fields["n"].toInt(), 28);
}

TEST(Journal, AFullMonthGoesOnInAFurtherPart) {
    QTemporaryDir dir;
    TJournalFiles files(dir.path());
    const QDateTime now(QDate(2026, 12, 9), QTime(9, 0));
    // A month's first part grown to its bound by hand, with the journal's own record at its end.
    QFile full(dir.path() + "/journal-2026-12.jsonl");
    ASSERT_TRUE(full.open(QIODevice::WriteOnly));
    ASSERT_TRUE(full.resize(TJournalFiles::MaxFileBytes));
    full.close();
    ASSERT_TRUE(files.Append(Record("write", 1, now)));
    EXPECT_EQ(files.Files(), (QStringList{"journal-2026-12.jsonl", "journal-2026-12.2.jsonl"}));
    EXPECT_EQ(ReadAll(files).size(), 1) << "the zero bytes are no record";

    // Beyond the total size the oldest files go, never the one just written.
    for (const char* month : {"2026-08", "2026-09", "2026-10", "2026-11"}) {
        QFile old(dir.path() + QString("/journal-%1.jsonl").arg(month));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        ASSERT_TRUE(old.resize(TJournalFiles::MaxFileBytes));
    }
    ASSERT_TRUE(files.Append(Record("write", 2, now.addMonths(1))));
    EXPECT_EQ(files.Files(),
              (QStringList{"journal-2026-10.jsonl", "journal-2026-11.jsonl", "journal-2026-12.jsonl",
                           "journal-2026-12.2.jsonl", "journal-2027-01.jsonl"}));
}

TEST(ResumePoint, InsideABlockFromItsLDOutsideFromTheFirstUnansweredLine) {
    const QStringList list{"SD200", "LD1", "BG", "MV100", "ED",  "SS10",
                           "LD2",   "ST1", "ED", "ST1",   "PS2", "MV5"};
    const struct {
        int stop;
        int from;
        bool blockStart;
        QList<int> channels;
    } cases[] = {
        {0, 0, false, {1, 2}}, // nothing answered
        {1, 1, false, {1, 2}}, // at an LD: the block from its start
        {3, 1, true, {1, 2}},  // inside a block
        {4, 1, true, {1, 2}},  // its ED not answered: the block is not written yet
        {5, 5, false, {1, 2}}, // between two blocks
        {7, 6, true, {1, 2}},  // an ST recorded inside LD2 ... ED is no start
        {9, 9, false, {1, 2}}, // ST1 and PS2 outside any block
        {11, 11, false, {}},   // a move of its own
    };
    for (const auto& c : cases) {
        const TResumePoint p = ResumePointOf(list, c.stop);
        EXPECT_EQ(p.from, c.from) << "stop at " << c.stop;
        EXPECT_EQ(p.blockStart, c.blockStart) << "stop at " << c.stop;
        EXPECT_EQ(p.count, list.size() - c.from) << "stop at " << c.stop;
        EXPECT_EQ(p.channels, c.channels) << "stop at " << c.stop;
    }
    EXPECT_EQ(ResumePointOf(list, 12).count, 0) << "beyond the list";
    EXPECT_EQ(ResumePointOf(list, -1).count, 0);
    EXPECT_EQ(ResumePointOf({"LD3", "BG", "ED"}, 2).channels, QList<int>{3});
}
