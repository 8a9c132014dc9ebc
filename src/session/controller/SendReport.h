#pragma once

#include "core/SendReport.h"

#include <QString>
#include <QStringList>

class TLang;

// What a channel reports of its program, as the replies are read (a completion after a pause's
// echo is no completion).
enum class TChannelReport { Completed, Paused, ExecutionError, Resumed };

// The words the operation log has for a sending's end: how far it went, and why.
QString SendSummary(const TSendReport& report, const TLang& lang);

// A whole list stopped inside LD n ... ED (by the operator, or at a line the controller refused)
// leaves channel n with the program's lines before the stop: the log's words for that ("lines
// 1-k of n"), or empty when the list did not stop inside a recording.
QString ShorterProgramText(const QStringList& lines, const TSendReport& report, const TLang& lang);
