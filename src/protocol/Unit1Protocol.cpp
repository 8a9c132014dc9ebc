// The main window's side of talking to the controller: received characters into the reply list
// and the reply handler, the "Send" button and its transmission thread.
#include "core/TextCodec.h"
#include "core/Unit1.h"
#include "core/UnitCommonDatas.h"
#include "core/widgets/HiddenMemo.h"
#include "core/widgets/RadioGroup.h"
#include "core/widgets/ReplyList.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/ReadWriteThread.h"
#include "protocol/UnitKVTComands.h"
#include "serial/ComPort.h"

#include <QPlainTextEdit>

void TForm1::PortDataReceived(const char* buffer, int count, quint32 /*errors*/) {
    const QString text = TextCodec::FromSerialBytes(buffer, count);
    lbBufRead->AppendText(text);
    Replies->HandleReplies(Replies->ReceiveBuffer + text);
}

void TForm1::btnRunTRClick() {
    EventPortString->Reset();
    if (RWThread && !RWThread->Finished())
        return; // one transmission at a time
    RWThread.reset();
    MemoRead->clear();
    TRWThread::Links links{
        *CommonDatas,
        *EventPortString,
        *EventReadFuncReady,
        [port = ComPort](const QString& text) { return port->WriteText(text); },
        [this] {
            QMetaObject::invokeMethod(
                this, [this] { AddLogLine(Lang->Message(Msg::NoReply), true); }, Qt::QueuedConnection);
        },
        [this](TRWThread* thread) {
            QMetaObject::invokeMethod(
                this,
                [this, thread] {
                    if (RWThread.get() == thread)
                        RWThread.reset();
                },
                Qt::QueuedConnection);
        },
    };
    RWThread = std::make_unique<TRWThread>(MemoSend->Lines, std::move(links));
}

void TForm1::RebuildCommandTable() {
    KVTCommands->BuildTable(Lang ? Lang->Messages : QStringList(), CommonDatas->Scale, CommonDatas->UnitsName,
                            rgrUnits->ItemIndex() == 0);
}

void TForm1::AddRecordingLine(const QString& text) {
    MemoRead->appendPlainText(text);
}
