#pragma once

#include <QStringList>

#include <optional>

// A list that ends inside LD n ... ED leaves the controller in program recording mode: it then
// refuses what follows (ST, a read, the next LD) as an incorrect command.
struct TOpenRecording {
    int line = 0;    // 0-based: the LD that has no ED after it
    int channel = 0; // its argument
};
// The recording a list of list lines leaves open at its end, if any.
std::optional<TOpenRecording> OpenRecordingAtEnd(const QStringList& lines);
