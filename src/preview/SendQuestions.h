#pragma once

#include "PreviewReport.h"

#include <QString>
#include <QStringList>

class TLang;
struct TSettings;

// What is asked before a list is sent, and the units the preview speaks in: each question is
// empty when there is nothing to ask.
namespace SendQuestions {

// The operator's units: steps (the language's word for them), or the unit and scale of the
// settings.
TPreviewUnits Units(const TSettings& settings, const TLang& lang);
// A program of `lines` would leave its channel's travel (the travel limits of the settings).
QString Travel(const QStringList& lines, const TSettings& settings, const TLang& lang);

} // namespace SendQuestions
