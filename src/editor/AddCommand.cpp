#include "AddCommand.h"

#include "CommandList.h"
#include "RoundSteps.h"
#include "core/AppError.h"
#include "core/Decimal.h"
#include "core/Settings.h"
#include "protocol/UnitKVTComands.h"

#include <algorithm>

namespace {

using K = TKVTCommands;

// The entry of the command `index`, or none for an index beyond the table.
const TCommandEntry* EntryAt(const TKVTCommands& commands, int index) {
    return index >= 0 && index < K::Count ? &commands.Entry(index) : nullptr;
}

} // namespace

TMadeCommand MakeCommand(const TKVTCommands& commands, const TSettings& settings, int index,
                         const QString& argument) {
    const TCommandEntry* entry = EntryAt(commands, index);
    if (!entry)
        return {};
    const TCommandEntry& e = *entry;
    const QString arg = index == K::Incorrect ? QString("no") : argument;
    QString line = e.Code;
    QString description = e.CaptionText;

    if (arg != "no") {
        // Entries without a range message of their own name their range instead of showing an
        // empty box.
        const QString refusal =
            e.RangeText.isEmpty() ? e.Code + " " + e.MinText + ".." + e.MaxText : e.RangeText;
        const auto value = Decimal::Parse(arg);
        const auto& min = e.Min;
        const auto& max = e.Max;
        if (!value || !min || !max)
            return {std::nullopt, e.RangeText.isEmpty() ? "?" : e.RangeText};
        if (*value < *min || *value > *max)
            return {std::nullopt, refusal};
        qint32 number = 0;
        if (index >= K::MV && index <= K::AL) {
            number = RoundSteps(*value * settings.Scale, settings);
            switch (index) {
            case K::MV:
                number = number <= 0 ? 1 : std::min(number, 10000000);
                break;
            case K::SD:
                number = number <= 0 ? 1 : std::min(number, 10000);
                break;
            case K::SS:
                number = std::clamp(number, 0, 2000);
                break;
            default: // AL
                number = std::clamp(number, -500, 500);
                break;
            }
        } else {
            const auto whole = Decimal::ParseInteger(arg);
            if (!whole)
                throw EConvertError::NotAnInteger(arg);
            number = *whole;
        }
        line += (index == K::AL && number > 0 ? "+" : "") + QString::number(number);
        description += arg + e.UnitsText;
    }

    return {TCommand{line, description}, {}};
}

namespace {

bool IsMotion(int index) {
    return index >= TKVTCommands::MV && index <= TKVTCommands::AL;
}

QString Describe(const TCommandEntry& entry, int index, qint32 steps, double scale) {
    const QString value =
        IsMotion(index) ? Decimal::FormatGeneral(double(steps) / scale) : QString::number(steps);
    return entry.CaptionText + value + entry.UnitsText;
}

} // namespace

TStepsCommand MakeCommandInSteps(const TKVTCommands& commands, const TSettings& settings, int index,
                                 const QString& steps) {
    const TCommandEntry* e = EntryAt(commands, index);
    if (!e)
        return {};
    if (index == K::Incorrect || steps == "no")
        return {TCommand{e->Code, e->CaptionText}};
    const auto value = Decimal::ParseInteger(steps);
    if (!value)
        throw EConvertError::NotAnInteger(steps);
    const K::TArgumentRule rule = K::ArgumentRule(index);
    if (rule.kind == K::TArgumentRule::None || *value < rule.low || *value > rule.high)
        return {std::nullopt, true};
    const QString line = e->Code + (index == K::AL && *value > 0 ? "+" : "") + QString::number(*value);
    return {TCommand{line, Describe(*e, index, *value, settings.Scale)}};
}

QString DescribeInUnits(const TKVTCommands& commands, const TSettings& settings, const QString& line) {
    const int index = TKVTCommands::CommandIndex(line);
    if (!IsMotion(index) || line.size() <= 2)
        return {};
    const auto value = Decimal::ParseInteger(line.mid(2));
    if (!value)
        return {};
    return Describe(commands.Entry(index), index, *value, settings.Scale);
}

TMadeCommand AddCommand(const TKVTCommands& commands, const TSettings& settings, int index,
                        const QString& argument, TCommandList& list) {
    TMadeCommand made = MakeCommand(commands, settings, index, argument);
    if (made.command)
        list.Append(made.command->line, made.command->description);
    return made;
}

bool IsCommandLine(const QString& line) {
    return TKVTCommands::CommandIndex(line) != 0;
}
