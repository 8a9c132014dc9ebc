#pragma once

#include "core/Settings.h"

#include <QStringList>

class TCliOutput;
class TLang;

// kvtctl preview: the figures and findings of `lines` as the window's preview shows them (in
// steps: a script counts in what the controller counts), one event a program, a finding, the
// direct commands and a summary. True when a program would leave its channel's travel.
bool PrintPreview(TCliOutput& out, const QStringList& lines, const TTravelLimits& travel, const TLang& lang);
