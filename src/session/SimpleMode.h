#pragma once

#include "operations/SimpleModeLists.h"
#include "protocol/ControllerBasis.h"

#include <QStringList>

class IOperationLog;
class ISettingsView;
class TChannelState;
class TKVTCommands;
class TLang;
class TSending;

// The simple control mode's four buttons: the list of a button, made for the selected channels
// (the motion for "Write" and "Write and Start"), and sent. When a field's value is refused
// nothing is sent for that press: a motion without the line the operator is told is wrong is a
// motion nobody chose. The list is the program's own, never the operator's command list.
class TSimpleMode {
public:
    TSimpleMode(const TControllerBasis& basis, const TKVTCommands& commands, TSending& sending,
                IOperationLog& log);

    // Sends the list of `action`; the refusals, in order, for the caller to show (the log says
    // that nothing was sent and why).
    QStringList Send(TSimpleAction action, const TMotion& motion);

private:
    const TControllerBasis basis_;
    const TKVTCommands& commands_;
    TSending& sending_;
    IOperationLog& log_;
};
