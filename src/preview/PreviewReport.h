#pragma once

#include "ProgramPreview.h"

#include <QString>
#include <QStringList>

#include <vector>

class TLang;

// The operator's units for showing positions: steps, or a unit of `scale` steps.
struct TPreviewUnits {
    bool steps = true;
    double scale = 1; // steps per unit, never 0
    QString name;     // the unit's name (in steps mode the language's word for steps)

    // A position in steps in these units, as a decimal text.
    QString Position(qint64 positionSteps) const;
    // A position typed in these units, in steps (rounded to the nearest step).
    qint64 Steps(double value) const;
    bool operator==(const TPreviewUnits&) const = default;
};

// A preview in the operator's words: the figures of each program as a column of texts, the
// findings as lines with the list line they point at, the direct commands. The window's table
// and kvtctl's readable output show the same texts.
class TPreviewReport {
public:
    TPreviewReport(const Preview::TListPreview& preview, const TLang& lang, TPreviewUnits units,
                   const TTravelLimits& travel);

    struct TColumn {
        int channel = 0;
        QString caption;
        QStringList values; // one per row name
    };
    struct TFindingLine {
        int line = -1; // 0-based; -1 for the list as a whole
        QString text;
    };

    QStringList RowNames() const;
    const std::vector<TColumn>& Columns() const { return columns_; }
    const std::vector<TFindingLine>& Findings() const { return findings_; }
    // "Direct commands (outside any program): lines 1, 5" or empty.
    QString DirectLines() const { return direct_; }
    QString Notes() const;

    // One finding in the operator's words.
    static QString FindingText(const Preview::TFinding& finding, const TLang& lang,
                               const TPreviewUnits& units, const TTravelLimits& travel);

private:
    const TLang& lang_;
    TPreviewUnits units_;
    std::vector<TColumn> columns_;
    std::vector<TFindingLine> findings_;
    QString direct_;
};
