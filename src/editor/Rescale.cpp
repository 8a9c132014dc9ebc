#include "Rescale.h"

#include "CommandList.h"
#include "RoundSteps.h"
#include "core/Decimal.h"
#include "core/UnitCommonDatas.h"
#include "protocol/UnitKVTComands.h"

std::optional<double> ParseScaleText(const QString& text) {
    QString t = text;
    const QChar separator = Decimal::Separator();
    t.replace('.', separator).replace(',', separator);
    const auto value = Decimal::Parse(t);
    if (!value || *value < 0)
        return std::nullopt;
    return value;
}

TRescaleResult RescaleList(QStringList& lines, double ratio, TCommonDatas& datas) {
    TRescaleResult result;
    for (int i = 0; i < lines.size(); ++i) {
        QString& line = lines[i];
        const int index = TKVTCommands::CommandIndex(line);
        if (index < TKVTCommands::MV || index > TKVTCommands::AL || line.size() <= 2)
            continue;
        const QString argument = line.mid(2);
        const auto value = Decimal::ParseInteger(argument);
        if (!value) {
            result.complete = false;
            result.stoppedAt = i;
            result.badArgument = argument;
            return result;
        }
        bool saturated = false;
        const qint32 steps = RoundSteps(double(*value) * ratio, datas, &saturated);
        if (saturated)
            result.saturated.append(i);
        line = line.left(2) + QString::number(steps);
    }
    return result;
}

TRescaleResult RescaleCommandList(TCommandList& list, double ratio, TCommonDatas& datas) {
    QStringList lines = list.Lines();
    const TRescaleResult result = RescaleList(lines, ratio, datas);
    list.ReplaceLines(lines);
    return result;
}

TScaleChange ApplyScaleText(const QString& scaleText, TCommandList& list, TCommonDatas& datas) {
    TScaleChange change;
    const double old = datas.Settings().Scale;
    const auto scale = ParseScaleText(scaleText);
    change.badScale = !scale;
    datas.SetScale(scale.value_or(1));
    if (list.IsEmpty())
        return change;
    const TRescaleResult result = RescaleCommandList(list, datas.Settings().Scale / old, datas);
    change.saturated = result.saturated;
    if (!result.complete)
        change.notWhole = result.badArgument;
    return change;
}
