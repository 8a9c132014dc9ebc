#pragma once
// Lines as standard strings, so that GoogleTest's container matchers print them readably.
#include <QStringList>

#include <string>
#include <vector>

inline std::vector<std::string> Std(const QStringList& lines) {
    std::vector<std::string> out;
    for (const QString& line : lines)
        out.push_back(line.toStdString());
    return out;
}
