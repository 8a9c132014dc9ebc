#include "Rescale.h"

#include "AddCommand.h"
#include "CommandList.h"
#include "RoundSteps.h"
#include "core/Decimal.h"
#include "core/Settings.h"
#include "core/ShownText.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
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

TRescaleResult RescaleList(QStringList& lines, double ratio, const TSettings& settings) {
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
        const qint32 steps = RoundSteps(double(*value) * ratio, settings, &saturated);
        if (saturated)
            result.saturated.append(i);
        line = line.left(2) + QString::number(steps);
    }
    return result;
}

TRescaleResult RescaleCommandList(TCommandList& list, double ratio, const TSettings& settings) {
    QStringList lines = list.Lines();
    const TRescaleResult result = RescaleList(lines, ratio, settings);
    list.ReplaceLines(lines);
    return result;
}

TScaleChange ApplyScaleText(const QString& scaleText, TCommandList& list, const TSettings& settings) {
    TScaleChange change;
    const auto scale = ParseScaleText(scaleText);
    change.badScale = !scale;
    change.scale = scale.value_or(1) == 0 ? 1.0 : scale.value_or(1);
    if (list.IsEmpty())
        return change;
    const TRescaleResult result = RescaleCommandList(list, change.scale / settings.Scale, settings);
    change.saturated = result.saturated;
    if (!result.complete)
        change.notWhole = result.badArgument;
    return change;
}

namespace {

bool IsMotionLine(const QString& line) {
    const int index = TKVTCommands::CommandIndex(line);
    return index >= TKVTCommands::MV && index <= TKVTCommands::AL && line.size() > 2;
}

} // namespace

void DescribeMotionInUnits(TCommandList& list, const TKVTCommands& commands, const TSettings& settings) {
    QStringList descriptions = list.Descriptions();
    bool changed = false;
    for (int i = 0; i < list.Count(); ++i) {
        const QString described = DescribeInUnits(commands, settings, list.Line(i));
        if (!described.isEmpty() && described != descriptions[i]) {
            descriptions[i] = described;
            changed = true;
        }
    }
    if (changed)
        list.ReplaceDescriptions(descriptions);
}

QList<std::pair<QString, bool>> RescaleReport(const QStringList& before, const TCommandList& list,
                                              const TScaleChange& change, const TSettings& settings,
                                              const TLang& lang) {
    QList<std::pair<QString, bool>> report;
    int motionLines = 0, rescaled = 0;
    for (int i = 0; i < list.Count(); ++i) {
        if (!IsMotionLine(list.Line(i)))
            continue;
        ++motionLines;
        rescaled += list.Line(i) != before.value(i) ? 1 : 0;
    }
    if (motionLines == 0)
        return report;
    if (settings.UnitsMode == TSettings::StepsUnits)
        report.append({lang.ExtraText(Ext::RescaleToSteps).arg(motionLines), false});
    else
        report.append({lang.ExtraText(Ext::RescaleCount)
                           .arg(rescaled)
                           .arg(motionLines)
                           .arg(Decimal::FormatGeneral(settings.Scale), settings.UnitsName),
                       false});
    for (int i = 0; i < list.Count(); ++i) {
        const QString& line = list.Line(i);
        if (change.saturated.contains(i)) {
            report.append(
                {lang.ExtraText(Ext::RescaleLimited).arg(i + 1).arg(line.left(2), Shown(line.mid(2))), true});
            continue;
        }
        if (!IsMotionLine(line))
            continue;
        const int index = TKVTCommands::CommandIndex(line);
        const auto value = Decimal::ParseInteger(line.mid(2));
        const TKVTCommands::TArgumentRule rule = TKVTCommands::ArgumentRule(index);
        if (value && (*value < rule.low || *value > rule.high))
            report.append({lang.ExtraText(Ext::RescaleBeyondRange)
                               .arg(i + 1)
                               .arg(Shown(line), TKVTCommands::Code(index))
                               .arg(rule.low)
                               .arg(rule.high),
                           true});
    }
    return report;
}
