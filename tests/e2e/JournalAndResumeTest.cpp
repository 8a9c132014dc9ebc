// The run journal as a session writes it, and a stopped sending resumed, against the controller
// simulator over a pseudo-terminal.
#include "FakeView.h"
#include "ProgramFolder.h"
#include "ScriptedDialogs.h"
#include "SimulatorSession.h"
#include "StdLines.h"
#include "Wait.h"
#include "core/Settings.h"
#include "editor/CommandList.h"
#include "journal/JournalFiles.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "session/OperatorSettings.h"
#include "session/ProgramEditor.h"
#include "session/ResumeSending.h"
#include "session/Session.h"
#include "session/controller/Connection.h"
#include "session/controller/Controller.h"
#include "session/controller/ControllerJournal.h"
#include "session/controller/MachineStop.h"
#include "session/controller/RunningChannels.h"
#include "session/controller/Sending.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>

namespace {

class JournalFixture : public SimulatorSession {
protected:
    TSending& Sending() { return session->Controller().Sending(); }
    // Sends the editor's list as "Send" does, to its end.
    void SendList(const QStringList& lines) {
        session->Editor().Replace(lines);
        ASSERT_EQ(Sending().Send(lines, TSending::Kind::WholeList, {"/programs/p.kvt", 0}),
                  TSending::Start::Started);
        ASSERT_TRUE(WaitUntil([&] { return !Sending().IsSending(); }, 20000));
    }
    QList<TJournalRecord> Journal() const {
        QList<TJournalRecord> records;
        TJournalFiles(folder.File("Data/journal")).Read({}, [&](const TJournalRecord& r) {
            records << r;
            return true;
        });
        return records;
    }
    // The first record of `kind` (and coordinate, when given) from `after` on.
    static std::optional<TJournalRecord> Find(const QList<TJournalRecord>& records, const QString& kind,
                                              int channel = -1) {
        for (const TJournalRecord& r : records)
            if (r.kind == kind && (channel < 0 || r.channel == channel))
                return r;
        return std::nullopt;
    }
};

} // namespace

TEST_F(JournalFixture, EveryKindOfEventIsRecordedWithItsTimeAndWhoDidIt) {
    const QDateTime begun = QDateTime::currentDateTime().addSecs(-1);
    TSettings units = session->Options().Settings();
    units.UnitsName = "mm";
    session->Options().Apply(units);
    session->Editor().ChangeUnitsMode(TSettings::OtherUnits, "200");
    SendList({"LD1", "BG", "SD200", "MV100", "ED"});
    SendList({"ST1"});
    ASSERT_TRUE(WaitUntil(
        [&] { return session->Controller().Running().State(1) == TRunningChannels::Run::Idle; }, 20000));
    SendList({"LD2", "BG", "ST1", "ED"}); // a start inside a recording is refused
    session->Controller().MachineStop().StopAll();
    simulator.HangUp();
    ASSERT_TRUE(WaitUntil([&] { return !session->Controller().Connection().IsOpen(); }, 20000));

    const QList<TJournalRecord> records = Journal();
    QStringList kinds;
    for (const TJournalRecord& r : records) {
        kinds << r.kind;
        EXPECT_EQ(r.who, "window");
        EXPECT_GE(r.time, begun);
        EXPECT_LE(r.time, QDateTime::currentDateTime());
    }
    for (const char* kind :
         {"opened", "scale", "write", "write-end", "start", "complete", "stop-key", "lost"})
        EXPECT_TRUE(kinds.contains(kind)) << kind << " in " << kinds.join(' ').toStdString();
    EXPECT_EQ(Find(records, "opened")->fields["device"].toString(),
              Find(records, "lost")->fields["device"].toString());
    EXPECT_FALSE(Find(records, "opened")->fields["device"].toString().isEmpty());
    EXPECT_EQ(Find(records, "scale")->fields["unit"].toString(), "mm");
    const TJournalRecord write = *Find(records, "write");
    EXPECT_EQ(write.fields["file"].toString(), "/programs/p.kvt");
    const QJsonObject block = write.fields["blocks"].toArray().first().toObject();
    EXPECT_EQ(block["channel"].toInt(), 1);
    EXPECT_EQ(block["lines"].toInt(), 5);
    EXPECT_EQ(block["fingerprint"].toString(), Fingerprint({"LD1", "BG", "SD200", "MV100", "ED"}));
    EXPECT_EQ(Find(records, "write-end")->fields["outcome"].toString(), "completed");
    EXPECT_TRUE(Find(records, "start", 1) && Find(records, "complete", 1));
    std::optional<TJournalRecord> refused;
    for (const TJournalRecord& r : records)
        if (r.kind == "write-end" && r.fields["outcome"] == "error")
            refused = r;
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->fields["code"].toString(), "command-error");
    EXPECT_EQ(refused->fields["line"].toInt(), 3);
    // In the order they happened.
    for (int i = 1; i < records.size(); ++i)
        EXPECT_LE(records[i - 1].time, records[i].time);

    // Off, nothing more is written.
    TSettings off = session->Options().Settings();
    off.KeepJournal = false;
    session->Options().Apply(off);
    session->Controller().Journal().Record("button", 0, {{"name", "x"}});
    EXPECT_EQ(Journal().size(), records.size());

    // A journal that can't be written is said once in the log, in red; nothing else stops.
    off.KeepJournal = true;
    session->Options().Apply(off);
    QDir(folder.File("Data/journal")).removeRecursively();
    folder.Write("Data/journal", "not a folder");
    const qsizetype lines = view.log.size();
    EXPECT_FALSE(session->Controller().Journal().Record("button", 0, {{"name", "x"}}));
    EXPECT_FALSE(session->Controller().Journal().Record("button", 0, {{"name", "y"}}));
    ASSERT_EQ(view.log.size(), lines + 1);
    EXPECT_TRUE(view.log.last().startsWith(session->Lang().ExtraText(Ext::JournalNotWritten).arg("")))
        << view.log.last().toStdString();
    EXPECT_TRUE(view.redLines.last());
}

TEST_F(JournalFixture, AResumeSendsFromTheBlocksLDOrFromTheFirstUnansweredLine) {
    const struct {
        QStringList list;
        int silentAt; // the first line (0-based) the controller leaves unanswered
        int from;     // where the resume begins
        bool blockStart;
    } cases[] = {
        {{"SD200", "LD1", "BG", "MV100", "MV200", "ED", "SD300"}, 4, 1, true},
        {{"LD2", "BG", "MV50", "ED", "SD300", "SS10", "SD400"}, 5, 5, false},
    };
    TSettings quick = session->Options().Settings();
    quick.ReplyTime = 300;
    session->Options().Apply(quick);
    TResumeSending& resume = session->Resume();
    for (const auto& c : cases) {
        kvtsim::Options options = simulator.GetOptions();
        options.silentFrom = int(simulator.Commands().size()) + c.silentAt + 1;
        simulator.SetOptions(options);
        SendList(c.list);
        options.silentFrom = 0;
        simulator.SetOptions(options);
        const auto point = resume.Resumable();
        ASSERT_TRUE(point) << c.list.join(' ').toStdString();
        EXPECT_EQ(point->from, c.from);
        EXPECT_EQ(point->blockStart, c.blockStart);
        EXPECT_FALSE(resume.Question(*point, c.silentAt).isEmpty());
        // The list changed since: nothing to resume.
        session->Editor().Replace(c.list + QStringList{"SD500"});
        EXPECT_FALSE(resume.Resumable());
        session->Editor().Replace(c.list);

        ASSERT_TRUE(resume.Send(*point, "/programs/p.kvt"));
        ASSERT_TRUE(WaitUntil([&] { return !Sending().IsSending(); }, 20000));
        const std::vector<std::string> all = simulator.Commands();
        const QStringList rest = c.list.mid(c.from);
        ASSERT_GE(all.size(), size_t(rest.size()));
        EXPECT_EQ(std::vector<std::string>(all.end() - rest.size(), all.end()), Std(rest));
        EXPECT_FALSE(resume.Resumable()) << "it went to its end";
    }
    EXPECT_EQ(simulator.Program(1), (std::vector<std::string>{"BG", "MV100", "MV200"})) << "written whole";
    // The journal tells the resumed part by its place in the file's list.
    std::optional<TJournalRecord> last;
    for (const TJournalRecord& r : Journal())
        if (r.kind == "write")
            last = r;
    ASSERT_TRUE(last);
    EXPECT_EQ(last->fields["from"].toInt(), 6);
}
