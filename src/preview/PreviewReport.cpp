#include "PreviewReport.h"

#include "core/Decimal.h"
#include "core/ShownText.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"

#include <algorithm>
#include <cmath>

QString TPreviewUnits::Position(qint64 positionSteps) const {
    if (steps)
        return QString::number(positionSteps);
    return Decimal::FormatGeneral(double(positionSteps) / scale);
}

qint64 TPreviewUnits::Steps(double value) const {
    const double s = steps ? value : value * scale;
    return qint64(std::llround(std::clamp(s, -1e15, 1e15)));
}

namespace {

QString Seconds(const TLang& lang, double seconds) {
    return lang.ExtraText(Ext::PreviewSeconds).arg(Decimal::FormatGeneral(std::round(seconds * 1000) / 1000));
}

} // namespace

TPreviewReport::TPreviewReport(const Preview::TListPreview& preview, const TLang& lang, TPreviewUnits units,
                               const TTravelLimits& travel)
    : lang_(lang), units_(std::move(units)) {
    const auto x = [&](int id) { return lang.ExtraText(id); };
    for (const Preview::TProgram& p : preview.programs) {
        const TMotionEffect& m = p.motion;
        TColumn column;
        column.channel = p.channel;
        column.caption = x(Ext::PreviewColumn).arg(p.channel).arg(p.firstLine + 1).arg(p.lastLine + 1);
        const auto open = [&](const QString& value, int line) {
            return line >= 0 ? x(Ext::PreviewOpenEnded).arg(value).arg(line + 1) : value;
        };
        // Positions before an HM are relative; from it on absolute.
        QString lowest = units_.Position(m.relativeLow), highest = units_.Position(m.relativeHigh);
        if (m.homes) {
            lowest += "; " + x(Ext::PreviewAbsolute).arg(units_.Position(m.absoluteLow));
            highest += "; " + x(Ext::PreviewAbsolute).arg(units_.Position(m.absoluteHigh));
        }
        const QString net =
            m.homes ? x(Ext::PreviewEndsAt).arg(units_.Position(m.end)) : units_.Position(m.end);
        column.values = {
            open(QString::number(m.moves), m.openLine),
            open(units_.Position(m.stepsForward), m.positionUnknownLine),
            open(units_.Position(m.stepsBackward), m.positionUnknownLine),
            open(net, m.positionUnknownLine),
            open(lowest, m.positionUnknownLine),
            open(highest, m.positionUnknownLine),
            Seconds(lang, m.pausesMs / 1000),
            open(Seconds(lang, m.seconds), m.openLine),
        };
        columns_.push_back(std::move(column));
    }
    for (const Preview::TFinding& f : preview.findings)
        findings_.push_back({f.line, FindingText(f, lang, units_, travel)});
    if (!preview.directLines.empty()) {
        QStringList numbers;
        for (int line : preview.directLines)
            numbers << QString::number(line + 1);
        direct_ = x(Ext::PreviewDirect).arg(numbers.join(", "));
    }
}

QStringList TPreviewReport::RowNames() const {
    QStringList names;
    for (int id : {Ext::PreviewMoves, Ext::PreviewForward, Ext::PreviewBackward, Ext::PreviewNet,
                   Ext::PreviewLowest, Ext::PreviewHighest, Ext::PreviewPauses, Ext::PreviewDuration})
        names << lang_.ExtraText(id);
    return names;
}

QString TPreviewReport::Notes() const {
    return lang_.ExtraText(Ext::PreviewNotes);
}

QString TPreviewReport::FindingText(const Preview::TFinding& f, const TLang& lang, const TPreviewUnits& units,
                                    const TTravelLimits& travel) {
    using F = Preview::TFinding;
    const QString line = QString::number(f.line + 1);
    switch (f.kind) {
    case F::WrongCommand:
        return lang.ExtraText(Ext::FindWrongCommand).arg(line, Shown(f.text));
    case F::BadArgument:
        return lang.ExtraText(Ext::FindBadArgument).arg(line, Shown(f.text));
    case F::BlockWithoutEnd:
        return lang.ExtraText(Ext::FindBlockWithoutEnd).arg(line).arg(f.channel);
    case F::EndWithoutBlock:
        return lang.ExtraText(Ext::FindEndWithoutBlock).arg(line);
    case F::JumpWithoutLabel:
        return lang.ExtraText(Ext::FindJumpWithoutLabel).arg(line);
    case F::RepeatWithoutBuffer:
        return lang.ExtraText(Ext::FindRepeatWithoutBuffer).arg(line);
    case F::BufferNeverRun:
        return lang.ExtraText(Ext::FindBufferNeverRun).arg(line);
    case F::ZeroRepetitions:
        return lang.ExtraText(Ext::FindZeroRepetitions).arg(line);
    case F::MoveBeforeSpeed:
        return lang.ExtraText(Ext::FindMoveBeforeSpeed).arg(line).arg(Preview::ControllerSpeed);
    case F::MoveBeforeDirection:
        return lang.ExtraText(Ext::FindMoveBeforeDirection).arg(line);
    case F::ChannelWrittenTwice:
        return lang.ExtraText(Ext::FindChannelWrittenTwice).arg(line).arg(f.channel);
    case F::NoBlock:
        return lang.ExtraText(Ext::FindNoBlock);
    case F::EmptyRepeat:
        return lang.ExtraText(Ext::FindEmptyRepeat).arg(line);
    case F::BeyondRange:
        return lang.ExtraText(Ext::FindBeyondRange).arg(line).arg(f.channel);
    case F::NestedTooDeep:
        return lang.ExtraText(Ext::FindNestedTooDeep).arg(line).arg(Preview::MaxNesting);
    case F::LeavesTravel: {
        const TTravelLimit& t = travel[size_t(std::clamp(f.channel, 0, 3))];
        const auto limit = [&](qint64 steps) {
            return std::abs(steps) >= Preview::Unbounded ? QString(steps < 0 ? "-∞" : "∞")
                                                         : units.Position(steps);
        };
        // One substitution for all, so that a % in the line is never taken for a placeholder.
        return lang.ExtraText(Ext::FindLeavesTravel)
            .arg(line, Shown(f.text), QString::number(f.channel), units.Position(f.value), limit(t.low),
                 limit(t.high));
    }
    }
    return {};
}
