#pragma once

#include "core/SendReport.h"

#include <QString>

class TLang;

// What a channel reports of its program, as the replies are read (a completion after a pause's
// echo is no completion).
enum class TChannelReport { Completed, Paused, ExecutionError, Resumed };

// The words the operation log has for a sending's end: how far it went, and why.
QString SendSummary(const TSendReport& report, const TLang& lang);
