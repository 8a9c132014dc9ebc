// A long exchange with a controller that faults about one line in twenty, at random from a printed
// seed: late whole answers, late statuses, no answer, an echo alone, line noise before the answer,
// answers split into pieces, communication errors, and one hang-up with a reopen. Every line gets
// exactly one outcome, no line is credited without an answer of its own, nothing hangs, and the
// session's memory stays where it was.
//
// KVT_SOAK_LINES sets the number of lines (2,000 by default; `make soak` runs 10,000),
// KVT_SOAK_SEED the seed of a run to repeat.
#include "FakeView.h"
#include "ProgramFolder.h"
#include "ScriptedController.h"
#include "ScriptedDialogs.h"
#include "SessionRooms.h"
#include "Wait.h"
#include "core/Settings.h"
#include "protocol/ReplyLog.h"
#include "session/OperationLogLines.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <map>
#include <mutex>

#include <unistd.h>

namespace {

using TReply = ScriptedController::TReply;

enum class Fault { None, LateWhole, LateStatus, NoAnswer, EchoOnly, Noise, Split, CommError };

const char* Name(Fault f) {
    static const char* const names[] = {"none",      "late whole answer",  "late status",
                                        "no answer", "echo only",          "noise",
                                        "split",     "communication error"};
    return names[int(f)];
}

// Whether the controller sent the line a status of its own (in time or not).
bool GetsItsStatus(Fault f) {
    return f == Fault::None || f == Fault::LateWhole || f == Fault::LateStatus || f == Fault::Noise ||
           f == Fault::Split;
}

constexpr int kReplyTimeMs = 60;

// The resident memory of this process.
qint64 ResidentBytes() {
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * ::sysconf(_SC_PAGESIZE) : 0;
}

int FromEnvironment(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

} // namespace

// The controller's answer to `command`, as the soak's fault for it says.
std::vector<TReply> Answer(const std::string& command, Fault fault, int late) {
    const std::string echo = command + "*";
    switch (fault) {
    case Fault::LateWhole:
        return {{late, echo + "E10*"}};
    case Fault::LateStatus:
        return {{0, echo}, {late, "E10*"}};
    case Fault::NoAnswer:
        return {};
    case Fault::EchoOnly:
        return {{0, echo}};
    case Fault::Noise:
        return {{0, "\x01\x7f#"}, {0, echo + "E10*"}};
    case Fault::Split: {
        std::vector<TReply> pieces;
        const std::string whole = echo + "E10*";
        for (size_t i = 0; i < whole.size(); ++i)
            pieces.push_back({int(i % 3), whole.substr(i, 1)});
        return pieces;
    }
    case Fault::CommError:
        return {{0, echo + "E15*"}};
    case Fault::None:
        break;
    }
    return {{0, echo + "E10*"}};
}

TEST(Soak, EveryLineGetsOneOutcomeAndNoneIsCreditedWithoutItsOwnAnswer) {
    const int lineCount = FromEnvironment("KVT_SOAK_LINES", 2000);
    const quint32 seed =
        quint32(FromEnvironment("KVT_SOAK_SEED", int(QRandomGenerator::global()->generate() >> 1)));
    std::printf("soak: %d lines, seed %u (KVT_SOAK_SEED=%u repeats it)\n", lineCount, seed, seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    QRandomGenerator random(seed);

    ProgramFolder folder;
    ScriptedDialogs dialogs;
    FakeView view;
    // What the controller did with each line (by its unique command), decided as it arrives.
    std::map<std::string, Fault> faults;
    std::mutex faultsMutex;
    const auto script = [&](const std::string& command, int) -> std::vector<TReply> {
        if (command.rfind("MV", 0) != 0)
            return {{0, command + "*E10*"}}; // the recovery's ED, and anything else
        Fault fault = Fault::None;
        if (random.bounded(20) == 0)
            fault = Fault(1 + random.bounded(7));
        {
            std::lock_guard lock(faultsMutex);
            faults[command] = fault;
        }
        if (qEnvironmentVariableIsSet("KVT_SOAK_TRACE"))
            std::printf("  %s %s\n", command.c_str(), Name(fault));
        return Answer(command, fault, kReplyTimeMs + 20 + int(random.bounded(60)));
    };
    ScriptedController controller;
    ASSERT_TRUE(controller.Start(folder.File("ports/COM1"), script));
    TSession session(folder.Path(), view, &view);
    ASSERT_TRUE(session.Controller().Connection().Open());
    TSettings settings = session.Options().Settings();
    settings.ReplyTime = kReplyTimeMs;
    session.Options().Apply(settings);

    std::vector<TSendReport> reports;
    QObject::connect(&session.Controller().Sending(), &TSending::Ended,
                     [&](const TSendReport& report) { reports.push_back(report); });
    bool lost = false;
    QObject::connect(&session.Controller().Connection(), &TConnection::Lost, [&] { lost = true; });

    // Lists of 20 to 80 lines, each line a command of its own; a list that ends early is followed
    // by one that goes on after the line it ended at. One hang-up about the middle.
    QRandomGenerator sizes(seed + 1);
    qsizetype memoryBefore = 0;
    qint64 residentBefore = 0;
    int credited = 0, failed = 0, lists = 0;
    bool hungUp = false;
    for (int next = 0; next < lineCount; ++lists) {
        QStringList list;
        const int size = std::min(20 + int(sizes.bounded(61)), lineCount - next);
        for (int i = 0; i < size; ++i)
            list << "MV" + QString::number(1000 + next + i);
        SCOPED_TRACE("list " + std::to_string(lists) + " from line " + std::to_string(next));
        if (lists == 1) {
            memoryBefore = session.Logs().ReplyLog().MemoryBytes() +
                           qsizetype(session.Logs().OperationLog().Recent().size()) * 64;
            residentBefore = ResidentBytes();
        }
        const size_t reportsBefore = reports.size();
        const size_t commandsBefore = controller.Commands().size();
        ASSERT_EQ(session.Controller().Sending().Send(list), TSending::Start::Started);
        if (!hungUp && next >= lineCount / 2) {
            // The plug is pulled while the list goes out, and put back.
            hungUp = true;
            controller.WaitForCommands(commandsBefore + 3, 60000);
            controller.HangUp();
            ASSERT_TRUE(WaitUntil([&] { return lost && !session.Controller().Sending().IsSending(); }, 60000))
                << "hung after a hang-up";
            ASSERT_TRUE(controller.Start(folder.File("ports/COM1"), script));
            ASSERT_TRUE(session.Controller().Connection().Open());
        }
        ASSERT_TRUE(WaitUntil(
            [&] { return reports.size() > reportsBefore && !session.Controller().Sending().IsSending(); },
            120000))
            << "a list never ended";
        const TSendReport report = reports.back();
        if (qEnvironmentVariableIsSet("KVT_SOAK_TRACE"))
            std::printf("  list ended %d at %d (%s) sent %d\n", int(report.end), report.index,
                        qPrintable(report.line), report.sent);
        ASSERT_EQ(report.count, list.size());
        // Each line before the one the list ended at was credited: the controller answered it.
        const int end = report.end == TSendReport::End::Completed ? int(list.size()) : report.index;
        std::lock_guard lock(faultsMutex);
        for (int i = 0; i < end; ++i) {
            const std::string command = list[i].toStdString();
            ASSERT_TRUE(faults.count(command))
                << command << ": credited, but the controller never received it";
            EXPECT_TRUE(GetsItsStatus(faults[command]))
                << command << ": credited although its answer was \"" << Name(faults[command]) << "\"";
            ++credited;
        }
        failed += end < list.size();
        // The lines after the end were never sent; they go out with the next list.
        for (int i = end + 1; i < list.size(); ++i)
            EXPECT_EQ(faults.count(list[i].toStdString()), 0u)
                << list[i].toStdString() << " was sent after the end";
        faults.clear();
        next += std::min(end + 1, int(list.size()));
    }
    EXPECT_EQ(credited + failed, lineCount) << "every line has exactly one outcome";
    RunEventsFor(200);
    const qsizetype memoryAfter = session.Logs().ReplyLog().MemoryBytes() +
                                  qsizetype(session.Logs().OperationLog().Recent().size()) * 64;
    EXPECT_LT(memoryAfter - memoryBefore, 4 * 1024 * 1024) << "the session's own memory stayed where it was";
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    // The whole process (without a sanitizer, whose allocator keeps freed memory on purpose).
    EXPECT_LT(ResidentBytes() - residentBefore, 32ll * 1024 * 1024);
#endif
    std::printf("soak: %d lines credited, %d ended a list, in %d lists\n", credited, failed, lists);
}

// kvtctl as a script drives it: one call per list, a status that comes late often landing
// between two calls. Every line gets exactly one outcome, and none is credited without its own.
TEST(Soak, KvtctlCallsCreditNoLineWithAnotherCallsAnswer) {
    const int lineCount = FromEnvironment("KVT_SOAK_LINES", 2000);
    const quint32 seed =
        quint32(FromEnvironment("KVT_SOAK_SEED", int(QRandomGenerator::global()->generate() >> 1)));
    std::printf("kvtctl soak: %d lines, seed %u (KVT_SOAK_SEED=%u repeats it)\n", lineCount, seed, seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    QRandomGenerator random(seed);
    ProgramFolder folder;
    std::map<std::string, Fault> faults;
    std::mutex faultsMutex;
    ScriptedController controller;
    ASSERT_TRUE(controller.Start(folder.File("ports/COM1"), [&](const std::string& command, int) {
        if (command.rfind("MV", 0) != 0)
            return std::vector<TReply>{{0, command + "*E10*"}};
        Fault fault = Fault::None;
        if (random.bounded(20) == 0)
            fault = Fault(1 + random.bounded(7));
        std::lock_guard lock(faultsMutex);
        faults[command] = fault;
        // Late by more than the reply time, often after the call gave up and ended.
        return Answer(command, fault, kReplyTimeMs + 20 + int(random.bounded(3 * kReplyTimeMs)));
    }));
    QRandomGenerator sizes(seed + 1);
    int credited = 0, failed = 0, calls = 0;
    for (int next = 0; next < lineCount; ++calls) {
        QStringList list;
        const int size = std::min(20 + int(sizes.bounded(61)), lineCount - next);
        for (int i = 0; i < size; ++i)
            list << "MV" + QString::number(1000 + next + i);
        SCOPED_TRACE("call " + std::to_string(calls) + " from line " + std::to_string(next));
        QProcess kvtctl;
        kvtctl.start(KVTCTL, {"--folder", folder.Path(), "--port", "1", "--reply-time",
                              QString::number(kReplyTimeMs), "--json", "send", "--plain", "-"});
        ASSERT_TRUE(kvtctl.waitForStarted());
        kvtctl.write((list.join('\n') + '\n').toUtf8());
        kvtctl.closeWriteChannel();
        ASSERT_TRUE(kvtctl.waitForFinished(120000)) << "a call never ended";
        // The lines answered, and where the call ended.
        int end = -1;
        std::vector<int> answered;
        for (const QByteArray& line : kvtctl.readAllStandardOutput().split('\n')) {
            const QJsonObject event = QJsonDocument::fromJson(line).object();
            if (event["event"] == "answer")
                answered.push_back(event["line"].toInt() - 1);
            else if (event["event"] == "end")
                end = event["outcome"] == "completed" ? int(list.size()) : event["line"].toInt() - 1;
        }
        ASSERT_GE(end, 0) << "no end told";
        EXPECT_EQ(kvtctl.exitCode(), end == list.size() ? 0 : 1);
        std::lock_guard lock(faultsMutex);
        for (int i = 0; i < end; ++i) {
            const std::string command = list[i].toStdString();
            ASSERT_TRUE(faults.count(command)) << command << ": credited, but never received";
            EXPECT_TRUE(GetsItsStatus(faults[command]))
                << command << ": credited although its answer was \"" << Name(faults[command]) << "\"";
            EXPECT_TRUE(std::find(answered.begin(), answered.end(), i) != answered.end())
                << command << ": passed without an answer event";
            ++credited;
        }
        failed += end < list.size();
        for (int i = end + 1; i < list.size(); ++i)
            EXPECT_EQ(faults.count(list[i].toStdString()), 0u)
                << list[i].toStdString() << " was sent after the end";
        faults.clear();
        next += std::min(end + 1, int(list.size()));
    }
    EXPECT_EQ(credited + failed, lineCount) << "every line has exactly one outcome";
    std::printf("kvtctl soak: %d lines credited, %d ended a call, in %d calls\n", credited, failed, calls);
}
