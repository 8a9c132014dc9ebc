#include "SendQuestions.h"

#include "ProgramPreview.h"
#include "core/Settings.h"
#include "core/ShownText.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"

#include <algorithm>

namespace SendQuestions {

TPreviewUnits Units(const TSettings& s, const TLang& lang) {
    const bool steps = s.UnitsMode == TSettings::StepsUnits;
    return {steps, steps ? 1.0 : s.Scale, steps ? lang.ExtraText(Ext::PreviewSteps) : s.UnitsName};
}

QString Travel(const QStringList& lines, const TSettings& settings, const TLang& lang) {
    const TTravelLimits& travel = settings.Travel;
    if (std::none_of(travel.begin(), travel.end(), [](const TTravelLimit& t) { return t.on; }))
        return {};
    const Preview::TListPreview preview = Preview::PreviewList(lines, travel);
    const Preview::TProgram* program = preview.FirstLeavingTravel();
    if (!program)
        return {};
    const TPreviewUnits units = Units(settings, lang);
    const TTravelLimit& t = travel[size_t(program->channel)];
    const int line = program->leavesTravelAt;
    return lang.ExtraText(Ext::TravelAskBeforeSend)
        .arg(QString::number(line + 1), Shown(lines[line]), QString::number(program->channel),
             units.Position(program->leavesTravelTo), units.Position(t.low), units.Position(t.high));
}

} // namespace SendQuestions
