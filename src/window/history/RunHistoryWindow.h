#pragma once

#include "journal/JournalHistory.h"

#include <QDialog>

#include <memory>

class QAction;
class QCheckBox;
class QMenu;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QScrollBar;
class QTableView;
class QTimer;
class TJournalFiles;
class TLang;
class THistoryTable;
class TTimelineView;

// "Run history": the run journal as a timeline (a lane per coordinate, its intervals in the
// indicator colours, marks for writes, verifies, stops and losses) that zooms from ten minutes to
// four weeks and follows the present while open, and below it the events as a table, filtered by
// coordinate, kind and day; the selected event's interval is outlined in the timeline. The shown
// events are exported as CSV on request.
class TRunHistoryWindow : public QDialog {
    Q_OBJECT
public:
    TRunHistoryWindow(const TJournalFiles& files, const TLang& lang, QWidget* parent = nullptr);
    // "Run history" (Ctrl+H) at the end of `menu`: opens the window, or raises the one open.
    static QAction* AddToMenu(QMenu* menu, const TJournalFiles& files, const TLang& lang, QWidget* window);
    ~TRunHistoryWindow() override;

    // The journal read anew (the events of the last MaxDays at most).
    void Reload();
    void ApplyTexts();
    const TJournalHistory& History() const { return history_; }
    THistoryTable* Table() const { return table_; }
    TTimelineView* Timeline() const { return timeline_; }
    // Writes the shown events to `fileName` as CSV; the reason when it could not.
    QString Export(const QString& fileName) const;

    static constexpr int MaxDays = 366;
    QComboBox* cbZoom;
    QComboBox* cbChannel;
    QComboBox* cbKind;
    QCheckBox* chbEveryDay;
    QDateEdit* deDay;
    QCheckBox* chbFollow;
    QPushButton* btnExport;
    QScrollBar* sbTime;
    QTableView* tblEvents;
    QLabel* lblCount;

private:
    void Filter();
    void SpanChanged();
    void Selected();
    void Tick();
    qint64 ZoomMs() const;

    const TJournalFiles& files_;
    const TLang& lang_;
    TJournalHistory history_;
    TTimelineView* timeline_;
    THistoryTable* table_;
    QTimer* timer_;
    qint64 journalBytes_ = -1;
};
