#include "MachineStop.h"

#include "Connection.h"
#include "Sending.h"
#include "core/OperationLog.h"
#include "core/UnitCommonDatas.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"

TMachineStop::TMachineStop(TCommonDatas& datas, const TLang& lang, TSending& sending, TConnection& connection,
                           IOperationLog& log)
    : datas_(datas), lang_(lang), sending_(sending), connection_(connection), log_(log) {
    connect(&sending_, &TSending::Ended, this, [this] {
        if (!channelsNext_)
            return;
        channelsNext_ = false;
        StopChannels();
    });
}

void TMachineStop::StopAll() {
    if (!connection_.IsOpen()) {
        log_.AddLogLine(lang_.ExtraText(Ext::StopAllPortClosed), true);
        return;
    }
    // The line on its way keeps its answer, so that the controller and the program agree on
    // what was taken; the channels follow at the sending's end.
    if (sending_.StopAfterLine()) {
        channelsNext_ = true;
        return;
    }
    if (sending_.IsSending()) {
        channelsNext_ = true; // a sending at its very end: its end comes next
        return;
    }
    StopChannels();
}

void TMachineStop::StopChannels() {
    QStringList lines;
    for (int n = 1; n <= TCommonDatas::ChannelCount; ++n) {
        const quint8 state = datas_.CoordState[n];
        if (state != TCommonDatas::Executing && state != TCommonDatas::Paused)
            continue;
        lines << QString("ST%1").arg(n);
        // As the simple mode's Stop does: the channel counts as running until it reports.
        datas_.SetCoordRunning(n, true);
    }
    if (lines.isEmpty()) {
        log_.AddLogLine(lang_.ExtraText(Ext::StopAllNothingRuns));
        return;
    }
    log_.AddLogLine(lang_.ExtraText(Ext::StopAllSent).arg(lines.join(", ")));
    sending_.Send(lines, TSending::Kind::OwnLines);
}
