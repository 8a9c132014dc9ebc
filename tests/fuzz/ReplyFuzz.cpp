// libFuzzer target for the reply handler: arbitrary bytes from the line, cut into chunks of
// arbitrary sizes, must never crash, hang or break the handler's own limits.
#include "FakeLine.h"
#include "FakeView.h"
#include "ScriptedDialogs.h"
#include "core/ChannelState.h"
#include "core/Events.h"
#include "core/ProgramPaths.h"
#include "core/TextCodec.h"
#include "core/UnitCommonDatas.h"
#include "lang/Lang.h"
#include "protocol/ReplyHandler.h"

#include <cstdint>
#include <cstdlib>

namespace {
class FuzzView : public FakeView {
public:
    void AddLogLine(const QString& text, bool red) override {
        if (log.size() < 1000)
            FakeView::AddLogLine(text, red);
    }
    void AddRecordingLine(const QString&) override {}
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ScriptedDialogs dialogs; // message boxes are recorded, never shown
    dialogs.messages.clear();
    FuzzView view;
    TProgramPaths paths("/nonexistent");
    TCommonDatas datas(view);
    TChannelState state(datas, view, view);
    TLang lang(paths, datas, view);
    TNamedEvent readBack("rb", false);
    RecordingWriter line;
    ManualScheduler atOnce(true); // recovery steps run at once, as if their delays had passed
    TReplyHandler handler(TControllerBasis{datas, state, lang}, readBack, line, atOnce, view);
    if (size > 0) {
        // The first byte chooses the settings and the chunk size.
        TSettings settings = datas.Settings();
        settings.AutoRecovery = data[0] & 1;
        settings.RecoveryBreakComm = data[0] & 2;
        settings.RecoveryClearMarks = data[0] & 4;
        datas.SetSettings(settings);
        datas.SetDirectControl(data[0] & 8);
        const size_t chunk = 1 + (data[0] >> 4) * 7;
        for (size_t at = 1; at < size; at += chunk) {
            const size_t n = std::min(chunk, size - at);
            const QString text =
                TextCodec::FromSerialBytes(reinterpret_cast<const char*>(data + at), qsizetype(n));
            handler.Receive(text);
            if (handler.ReceiveBuffer().size() > TReplyHandler::MaxPendingText)
                std::abort(); // the pending text must stay bounded
        }
    }
    for (int n = 1; n <= 3; ++n) {
        if (state.State(n) > 3)
            std::abort(); // the controller's tokens only ever set the four known states
    }
    return 0;
}
