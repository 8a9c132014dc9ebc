#include "SimpleMode.h"

#include "controller/Sending.h"
#include "core/ChannelState.h"
#include "core/OperationLog.h"
#include "core/SettingsView.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"

TSimpleMode::TSimpleMode(const ISettingsView& settings, TChannelState& state, const TLang& lang,
                         const TKVTCommands& commands, TSending& sending, IOperationLog& log)
    : settings_(settings), state_(state), lang_(lang), commands_(commands), sending_(sending), log_(log) {}

QStringList TSimpleMode::Send(TSimpleAction action, const TMotion& motion) {
    if (action == TSimpleAction::Stop)
        state_.SetProgramRunning(true);
    TCommandList list("MemoSend");
    TSimpleModeLists lists(commands_, settings_.Settings(), state_, list);
    lists.Build(action, motion);
    if (!lists.Refusals().isEmpty()) {
        log_.AddLogLine(lang_.ExtraText(Ext::SimpleNothingSent).arg(lists.Refusals().join("; ")), true);
        return lists.Refusals();
    }
    sending_.Send(list.Lines());
    return {};
}
