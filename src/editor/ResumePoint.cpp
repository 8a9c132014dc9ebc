#include "ResumePoint.h"

#include <algorithm>

namespace {

// The command of a list line (its two letters, in capitals) and its coordinate (0: none).
QString Code(const QString& line) {
    return line.trimmed().left(2).toUpper();
}

int Channel(const QString& line) {
    const QString rest = line.trimmed().mid(2);
    return rest.size() == 1 && rest[0] >= '1' && rest[0] <= '3' ? rest[0].unicode() - '0' : 0;
}

} // namespace

TResumePoint ResumePointOf(const QStringList& lines, int firstUnanswered) {
    TResumePoint point;
    if (firstUnanswered < 0 || firstUnanswered >= lines.size())
        return point;
    int open = -1; // the LD of the block the list is inside, up to the stop
    for (int i = 0; i < firstUnanswered; ++i) {
        const QString code = Code(lines[i]);
        if (code == "LD")
            open = i;
        else if (code == "ED")
            open = -1;
    }
    point.blockStart = open >= 0;
    point.from = point.blockStart ? open : firstUnanswered;
    point.count = int(lines.size()) - point.from;
    bool inBlock = false; // an ST or PS inside a block is recorded, not done
    for (int i = point.from; i < lines.size(); ++i) {
        const QString code = Code(lines[i]);
        const int channel = Channel(lines[i]);
        const bool counts = code == "LD" || (!inBlock && (code == "ST" || code == "PS"));
        if (counts && channel != 0 && !point.channels.contains(channel))
            point.channels << channel;
        inBlock = code == "LD" || (inBlock && code != "ED");
    }
    std::sort(point.channels.begin(), point.channels.end());
    return point;
}
