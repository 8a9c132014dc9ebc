#include "SimpleMode.h"

#include "Sending.h"
#include "core/OperationLog.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"

TSimpleMode::TSimpleMode(TCommonDatas& datas, const TLang& lang, const TKVTCommands& commands,
                         TSending& sending, IOperationLog& log)
    : datas_(datas), lang_(lang), commands_(commands), sending_(sending), log_(log) {}

QStringList TSimpleMode::Send(TSimpleAction action, const TMotion& motion) {
    if (action == TSimpleAction::Stop)
        datas_.ProgramRunning = true;
    TCommandList list("MemoSend");
    TSimpleModeLists lists(commands_, datas_, list);
    lists.Build(action, motion);
    if (!lists.Refusals().isEmpty()) {
        log_.AddLogLine(lang_.ExtraText(Ext::SimpleNothingSent).arg(lists.Refusals().join("; ")), true);
        return lists.Refusals();
    }
    sending_.Send(list.Lines());
    return {};
}
