#include "AddCommand.h"

#include "CommandList.h"
#include "RoundSteps.h"
#include "core/AppError.h"
#include "core/Decimal.h"
#include "core/UnitCommonDatas.h"
#include "protocol/UnitKVTComands.h"

#include <algorithm>

TMadeCommand MakeCommand(const TKVTCommands& commands, TCommonDatas& datas, int index,
                         const QString& argument) {
    using K = TKVTCommands;
    if (index < 0 || index >= K::Count)
        return {};
    const TCommandEntry& e = commands.Entry(index);
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
            number = RoundSteps(*value * datas.Settings().Scale, datas);
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

TMadeCommand AddCommand(const TKVTCommands& commands, TCommonDatas& datas, int index, const QString& argument,
                        TCommandList& list) {
    TMadeCommand made = MakeCommand(commands, datas, index, argument);
    if (made.command)
        list.Append(made.command->line, made.command->description);
    return made;
}

bool IsCommandLine(const QString& line) {
    return TKVTCommands::CommandIndex(line) != 0;
}
