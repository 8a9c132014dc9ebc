#include "HistoryTable.h"

#include "journal/JournalRecord.h"

#include <QDateTime>
#include <QJsonDocument>

THistoryTable::THistoryTable(QObject* parent) : QAbstractTableModel(parent) {}

void THistoryTable::SetTexts(const QStringList& columns, const QStringList& kinds) {
    columns_ = columns;
    kinds_ = kinds;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    if (!rows_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void THistoryTable::Show(const TJournalHistory* history, int channel,
                         std::optional<TJournalHistory::Kind> kind, const QDate& day) {
    beginResetModel();
    history_ = history;
    rows_.clear();
    const qint64 dayFrom = day.isValid() ? day.startOfDay().toMSecsSinceEpoch() : 0;
    const qint64 dayTo = day.isValid() ? day.addDays(1).startOfDay().toMSecsSinceEpoch() : 0;
    const auto& events = history->Events();
    for (qsizetype i = 0; i < qsizetype(events.size()); ++i) {
        const TJournalHistory::TEvent& e = events[size_t(i)];
        if ((channel != 0 && e.channel != channel) || (kind && e.kind != *kind) ||
            (day.isValid() && (e.ms < dayFrom || e.ms >= dayTo)))
            continue;
        rows_.push_back(i);
    }
    endResetModel();
}

const TJournalHistory::TEvent* THistoryTable::EventAt(int row) const {
    if (!history_ || row < 0 || row >= rowCount())
        return nullptr;
    return &history_->Events()[size_t(rows_[size_t(row)])];
}

QString THistoryTable::KindName(TJournalHistory::Kind kind) const {
    return kinds_.value(int(kind), TJournalHistory::NameOf(kind));
}

int THistoryTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int THistoryTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 5;
}

QVariant THistoryTable::data(const QModelIndex& index, int role) const {
    const TJournalHistory::TEvent* e = EventAt(index.row());
    if (!e || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    switch (index.column()) {
    case 0:
        return QDateTime::fromMSecsSinceEpoch(e->ms).toString("yyyy-MM-dd HH:mm:ss.zzz");
    case 1:
        return e->byKvtctl ? QString("kvtctl") : QString("KVT_Program");
    case 2:
        return KindName(e->kind);
    case 3:
        return e->channel ? QVariant(int(e->channel)) : QVariant();
    default: {
        const auto record = TJournalRecord::FromLine(history_->Line(*e));
        if (!record || record->fields.isEmpty())
            return QString();
        return QString::fromUtf8(QJsonDocument(record->fields).toJson(QJsonDocument::Compact));
    }
    }
}

QVariant THistoryTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return columns_.value(section);
}
