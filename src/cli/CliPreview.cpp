#include "CliPreview.h"

#include "CliOutput.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "preview/PreviewReport.h"
#include "preview/ProgramPreview.h"

bool PrintPreview(TCliOutput& out, const QStringList& lines, const TTravelLimits& travel, const TLang& lang) {
    const Preview::TListPreview preview = Preview::PreviewList(lines, travel);
    const TPreviewUnits units; // steps: a script counts in what the controller counts
    const TPreviewReport report(preview, lang, units, travel);
    const QStringList rows = report.RowNames();
    for (size_t i = 0; i < preview.programs.size(); ++i) {
        const Preview::TProgram& p = preview.programs[i];
        const TMotionEffect& m = p.motion;
        const auto lineOrNull = [](int line) { return line >= 0 ? QVariant(line + 1) : QVariant(); };
        QString readable = report.Columns()[i].caption;
        for (qsizetype r = 0; r < rows.size(); ++r)
            readable += QString("\n  %1: %2").arg(rows[r], report.Columns()[i].values[r]);
        out.Event("program",
                  {{"channel", p.channel},
                   {"first", p.firstLine + 1},
                   {"last", p.lastLine + 1},
                   {"ended", p.ended},
                   {"moves", m.moves},
                   {"forward", m.stepsForward},
                   {"backward", m.stepsBackward},
                   {"net", m.homes ? QVariant() : QVariant(m.end)},
                   {"lowest", m.relativeLow},
                   {"highest", m.relativeHigh},
                   {"homes", m.homes},
                   {"absoluteLowest", m.homes ? QVariant(m.absoluteLow) : QVariant()},
                   {"absoluteHighest", m.homes ? QVariant(m.absoluteHigh) : QVariant()},
                   {"end", m.end},
                   {"pausesMs", m.pausesMs},
                   {"seconds", m.seconds},
                   {"openEndedFrom", lineOrNull(m.openLine)},
                   {"positionUnknownFrom", lineOrNull(m.positionUnknownLine)},
                   {"leavesTravelAt", lineOrNull(p.leavesTravelAt)}},
                  readable);
    }
    if (!preview.directLines.empty()) {
        QVariantList direct;
        for (int line : preview.directLines)
            direct << line + 1;
        out.Event("direct", {{"lines", direct}}, report.DirectLines());
    }
    for (size_t i = 0; i < preview.findings.size(); ++i) {
        const Preview::TFinding& f = preview.findings[i];
        out.Event("finding",
                  {{"kind", Preview::FindingKey(f.kind)},
                   {"line", f.line >= 0 ? QVariant(f.line + 1) : QVariant()},
                   {"channel", f.channel},
                   {"text", report.Findings()[i].text}},
                  report.Findings()[i].text);
    }
    const bool leaves = preview.FirstLeavingTravel() != nullptr;
    out.Event("summary",
              {{"programs", qint64(preview.programs.size())},
               {"findings", qint64(preview.findings.size())},
               {"leavesTravel", leaves}},
              preview.findings.empty() ? lang.ExtraText(Ext::PreviewNoFindings) : QString());
    return leaves;
}
