// The run history window over a recorded day of the journal: the timeline's intervals (read from
// its model), the table's filters, the selected event's interval, and the CSV export.
#include "history/RunHistoryWindow.h"
#include "SampleJournal.h"
#include "Unit1.h"
#include "WindowFixture.h"
#include "history/HistoryTable.h"
#include "history/TimelineView.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QTableView>
#include <QTest>

namespace {

using State = TJournalHistory::State;

class RunHistoryFixture : public WindowFixture {
protected:
    void SetUp() override {
        day = QDate::currentDate().addDays(-1);
        WriteSampleDay(folder.File("Data/journal"), day);
        CreateWindow();
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClick(form.get(), Qt::Key_H, Qt::ControlModifier);
        history = form->findChild<TRunHistoryWindow*>();
        ASSERT_NE(history, nullptr) << "Ctrl+H opens it";
    }
    qint64 At(int minutes, int seconds = 0) const {
        return QDateTime(day, QTime(8, 0)).addSecs(minutes * 60 + seconds).toMSecsSinceEpoch();
    }
    QDate day;
    TRunHistoryWindow* history = nullptr;
};

} // namespace

TEST_F(RunHistoryFixture, TheTimelineHoldsEachCoordinatesRecordingExecutingAndPausedIntervals) {
    const TJournalHistory& h = history->History();
    EXPECT_EQ(h.Intervals(1), (QList<TJournalHistory::TInterval>{{At(1), At(1, 30), State::Recording},
                                                                 {At(2), At(40), State::Executing},
                                                                 {At(40), At(50), State::Paused},
                                                                 {At(50), At(90), State::Executing}}));
    EXPECT_EQ(h.Intervals(2), (QList<TJournalHistory::TInterval>{{At(1), At(1, 30), State::Recording},
                                                                 {At(5), At(120), State::Executing}}));
    EXPECT_EQ(h.Intervals(3), (QList<TJournalHistory::TInterval>{{At(180), At(180, 40), State::Recording},
                                                                 {At(181), At(240), State::Executing}}))
        << "a lost line ends what ran";

    // The selected event's interval is the one outlined; off the present, the span moves to it.
    const THistoryTable* table = history->Table();
    ASSERT_EQ(table->rowCount(), 17) << "the day's sixteen, and today's opening of the window's port";
    history->tblEvents->setCurrentIndex(table->index(5, 0)); // the pause of coordinate 1
    EXPECT_EQ(history->Timeline()->Highlight(), (TJournalHistory::TInterval{At(40), At(50), State::Paused}));
    EXPECT_FALSE(history->chbFollow->isChecked());
    EXPECT_LE(history->Timeline()->From(), At(40));
    EXPECT_GE(history->Timeline()->To(), At(40));
    // The zooms: ten minutes to four weeks.
    history->cbZoom->setCurrentIndex(0);
    EXPECT_EQ(history->Timeline()->To() - history->Timeline()->From(), 10 * 60000);
    history->cbZoom->setCurrentIndex(4);
    EXPECT_EQ(history->Timeline()->To() - history->Timeline()->From(), 28 * 86400000LL);
}

TEST_F(RunHistoryFixture, TheTableFiltersByCoordinateKindAndDayAndExportsWhatItShows) {
    const struct {
        int channel, kind; // the boxes' indices: 0 all
        bool everyDay;
        QDate day;
        int rows;
    } cases[] = {
        {3, 0, true, {}, 1}, // coordinate 3: its start
        {0, 1 + int(TJournalHistory::Kind::Write), true, {}, 2},
        {1, 1 + int(TJournalHistory::Kind::Start), true, {}, 1},
        {0, 0, false, day, 16},
        {0, 0, false, day.addDays(-1), 0},
    };
    for (const auto& c : cases) {
        history->cbChannel->setCurrentIndex(c.channel);
        history->cbKind->setCurrentIndex(c.kind);
        history->chbEveryDay->setChecked(c.everyDay);
        if (c.day.isValid())
            history->deDay->setDate(c.day);
        EXPECT_EQ(history->Table()->rowCount(), c.rows) << c.channel << " " << c.kind;
    }
    history->chbEveryDay->setChecked(true);
    history->cbChannel->setCurrentIndex(0);
    history->cbKind->setCurrentIndex(1 + int(TJournalHistory::Kind::Write));

    const QString csv = folder.File("Users/history.csv");
    dialogs.fileAnswers = {csv};
    history->btnExport->click();
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 4); // the header, two writes, the end
    EXPECT_EQ(lines[0], "time,who,kind,coordinate,fields\r");
    EXPECT_TRUE(lines[1].contains(",window,write,,")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(R"(""file"":""/home/op/pump.kvt"")")) << lines[1].toStdString();
    // A link is not written through.
    ASSERT_TRUE(QFile::link(csv, folder.File("Users/link.csv")));
    EXPECT_FALSE(history->Export(folder.File("Users/link.csv")).isEmpty());
    EXPECT_EQ(QFileInfo(csv).size(), file.size());
}
