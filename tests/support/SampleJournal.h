#pragma once

#include "journal/JournalFiles.h"

#include <QJsonArray>

// A recorded day of the run journal, from `day` 08:00: three coordinates written, run, paused,
// stopped and lost, as a window at a machine writes it.
inline void WriteSampleDay(const QString& journalFolder, const QDate& day) {
    TJournalFiles files(journalFolder);
    const QDateTime base(day, QTime(8, 0));
    const auto at = [&](int minutes, int seconds = 0) { return base.addSecs(minutes * 60 + seconds); };
    const auto blocks = [](std::initializer_list<int> channels) {
        QJsonArray list;
        for (int n : channels)
            list.append(QJsonObject{{"channel", n}, {"lines", 5}, {"fingerprint", "0123456789ab"}});
        return list;
    };
    const struct {
        QDateTime time;
        const char* kind;
        int channel;
        QJsonObject fields;
    } events[] = {
        {at(0), "opened", 0, {{"device", "/dev/ttyS0"}}},
        {at(1), "write", 0, {{"file", "/home/op/pump.kvt"}, {"lines", 10}, {"blocks", blocks({1, 2})}}},
        {at(1, 30), "write-end", 0, {{"outcome", "completed"}, {"lines", 10}}},
        {at(2), "start", 1, {}},
        {at(5), "start", 2, {}},
        {at(40), "pause", 1, {}},
        {at(50), "resume", 1, {}},
        {at(90), "complete", 1, {}},
        {at(120), "stop-key", 0, {}},
        {at(120), "stop", 2, {}},
        {at(180), "write", 0, {{"file", "/home/op/saw.kvt"}, {"lines", 5}, {"blocks", blocks({3})}}},
        {at(180, 40), "write-end", 0, {{"outcome", "completed"}, {"lines", 5}}},
        {at(181), "start", 3, {}},
        {at(240), "lost", 0, {{"device", "/dev/ttyS0"}}},
        {at(245), "opened", 0, {{"device", "/dev/ttyS0"}}},
        {at(300), "closed", 0, {{"device", "/dev/ttyS0"}}},
    };
    for (const auto& e : events)
        files.Append({e.time, "window", e.kind, e.channel, e.fields});
}
