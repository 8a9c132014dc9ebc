#pragma once

#include <QString>

#include <optional>

class TCommandList;
struct TSettings;
class TKVTCommands;

// One command as it enters a list: the list line and the description the grid shows.
struct TCommand {
    QString line;
    QString description;
};

// A command made from an operator's argument, or why none was: the entry's range message, which
// the caller shows.
struct TMadeCommand {
    std::optional<TCommand> command;
    QString refusal;
    explicit operator bool() const { return command.has_value(); }
};

// Checks `argument` (in the operator's units, or "no" for none) against the range of the
// vocabulary's entry `index` and converts it to the list line: MV, SD, SS and AL to whole steps
// by the scale and the rounding mode, clamped to what the controller takes. A refused argument
// gives no command and the entry's range message; an argument in range that must be whole but
// is not throws EConvertError.
TMadeCommand MakeCommand(const TKVTCommands& commands, const TSettings& settings, int index,
                         const QString& argument);

// A command as the controller holds it, its argument in steps (a read-back): the list line keeps
// the steps as they are (a positive AL with its "+"), the description shows them in the
// operator's units (MV, SD, SS and AL divided by the scale, with the decimals they need). An
// argument beyond what the controller takes gives no command and `beyond`; one that is not a
// whole number throws EConvertError.
struct TStepsCommand {
    std::optional<TCommand> command;
    bool beyond = false;
};
TStepsCommand MakeCommandInSteps(const TKVTCommands& commands, const TSettings& settings, int index,
                                 const QString& steps);

// The description of a motion line (MV, SD, SS or AL with a whole argument in steps) in the
// operator's units now; empty for any other line, whose description does not depend on them.
QString DescribeInUnits(const TKVTCommands& commands, const TSettings& settings, const QString& line);

// Whether `line` (a list line, as a program file holds it) begins with a command of the
// controller.
bool IsCommandLine(const QString& line);

// MakeCommand, and the command appended to `list` when there is one. The only way commands
// enter a list.
TMadeCommand AddCommand(const TKVTCommands& commands, const TSettings& settings, int index,
                        const QString& argument, TCommandList& list);
