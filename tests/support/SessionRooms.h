#pragma once

// The session's root with every room, for tests that reach into several.
#include "session/Channels.h"
#include "session/Connection.h"
#include "session/MachineStop.h"
#include "session/OperatorSettings.h"
#include "session/ProgramDocument.h"
#include "session/ProgramEditor.h"
#include "session/ReadingBack.h"
#include "session/RunningChannels.h"
#include "session/Sending.h"
#include "session/Session.h"
#include "session/SessionLogs.h"
#include "session/UserButtons.h"
