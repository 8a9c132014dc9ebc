#include "OpenRecording.h"

#include "protocol/UnitKVTComands.h"

std::optional<TOpenRecording> OpenRecordingAtEnd(const QStringList& lines) {
    std::optional<TOpenRecording> open;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int code = TKVTCommands::CommandIndex(lines[i]);
        if (code == TKVTCommands::LD)
            open = TOpenRecording{int(i), lines[i].mid(2).toInt()};
        else if (code == TKVTCommands::ED)
            open.reset();
    }
    return open;
}
