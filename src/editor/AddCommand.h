#pragma once

#include <QString>

#include <optional>

class TCommandList;
class TCommonDatas;
class TKVTCommands;

// One command as it enters a list: the list line and the description the grid shows.
struct TCommand {
    QString line;
    QString description;
};

// Checks `argument` (in the operator's units, or "no" for none) against the range of the
// vocabulary's entry `index` and converts it to the list line: MV, SD, SS and AL to whole steps
// by the scale and the rounding mode, clamped to what the controller takes. A refused argument
// is shown with the entry's range message and gives nothing; an argument in range that must be
// whole but is not throws EConvertError.
std::optional<TCommand> MakeCommand(const TKVTCommands& commands, TCommonDatas& datas, int index,
                                    const QString& argument);

// MakeCommand, and the command appended to `list`. True when it was added. The only way
// commands enter a list.
bool AddCommand(const TKVTCommands& commands, TCommonDatas& datas, int index, const QString& argument,
                TCommandList& list);
