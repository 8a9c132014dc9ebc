#include "SimpleMode.h"

#include "controller/Sending.h"
#include "core/ChannelState.h"
#include "core/OperationLog.h"
#include "core/SettingsView.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"

TSimpleMode::TSimpleMode(const TControllerBasis& basis, const TKVTCommands& commands, TSending& sending,
                         IOperationLog& log)
    : basis_(basis), commands_(commands), sending_(sending), log_(log) {}

QStringList TSimpleMode::Send(TSimpleAction action, const TMotion& motion) {
    if (action == TSimpleAction::Stop)
        basis_.state.SetProgramRunning(true);
    TCommandList list("MemoSend");
    TSimpleModeLists lists(commands_, basis_.settings.Settings(), basis_.state, list);
    lists.Build(action, motion);
    if (!lists.Refusals().isEmpty()) {
        log_.AddLogLine(basis_.lang.ExtraText(Ext::SimpleNothingSent).arg(lists.Refusals().join("; ")), true);
        return lists.Refusals();
    }
    sending_.Send(list.Lines());
    return {};
}
