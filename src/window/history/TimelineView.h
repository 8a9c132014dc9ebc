#pragma once

#include "journal/JournalHistory.h"

#include <QStringList>
#include <QWidget>

// The run history's timeline: one lane per coordinate with the intervals it spent recording,
// executing and paused, in the indicator colours (yellow, red, black), and marks above the lanes
// for writes, verifies, stops and losses. It shows the span from From() to To(); the selected
// event's interval is outlined.
class TTimelineView : public QWidget {
    Q_OBJECT
public:
    explicit TTimelineView(QWidget* parent = nullptr);

    void SetHistory(const TJournalHistory* history);
    void SetSpan(qint64 fromMs, qint64 toMs);
    qint64 From() const { return fromMs_; }
    qint64 To() const { return toMs_; }
    // The lanes' captions ("Coordinate %1") and the legend's words (recording, executing, paused).
    void SetTexts(const QString& lane, const QStringList& legend);
    void SetHighlight(int channel, const TJournalHistory::TInterval& interval);
    const TJournalHistory::TInterval& Highlight() const { return highlight_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double X(qint64 ms) const;

    const TJournalHistory* history_ = nullptr;
    qint64 fromMs_ = 0, toMs_ = 1;
    QString lane_ = "Coordinate %1";
    QStringList legend_{"Recording", "Executing", "Paused"};
    int highlightChannel_ = 0;
    TJournalHistory::TInterval highlight_{};
};
