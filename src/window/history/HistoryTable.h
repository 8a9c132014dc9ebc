#pragma once

#include "journal/JournalHistory.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QStringList>

#include <vector>

// The run history's events as a table (time, who, event, coordinate, details), filtered by
// coordinate, kind and day; a row's details are read from the journal only while it is in view.
class THistoryTable : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit THistoryTable(QObject* parent = nullptr);

    // The columns' captions and the kinds' names, in the language in use.
    void SetTexts(const QStringList& columns, const QStringList& kinds);
    // The events anew (after a load), filtered: `channel` 0 for all, `kind` none for all, `day`
    // invalid for every day.
    void Show(const TJournalHistory* history, int channel, std::optional<TJournalHistory::Kind> kind,
              const QDate& day);
    // The event of a row, and the rows shown (in the history's numbering).
    const TJournalHistory::TEvent* EventAt(int row) const;
    const std::vector<qsizetype>& Rows() const { return rows_; }
    QString KindName(TJournalHistory::Kind kind) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const TJournalHistory* history_ = nullptr;
    std::vector<qsizetype> rows_;
    QStringList columns_, kinds_;
};
