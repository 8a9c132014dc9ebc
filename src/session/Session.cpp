#include "Session.h"

#include "Channels.h"
#include "Connection.h"
#include "OperatorSettings.h"
#include "ProgramDocument.h"
#include "ProgramEditor.h"
#include "ReadingBack.h"
#include "Sending.h"
#include "SessionLogs.h"
#include "core/Events.h"
#include "core/UnitCommonDatas.h"
#include "lang/Lang.h"
#include "protocol/ReplyHandler.h"
#include "protocol/UnitKVTComands.h"

TSession::TSession(const QString& programFolder, ILogView& logView, IStateView* stateView, QObject* parent)
    : QObject(parent), Paths(programFolder) {
    logs_ = std::make_unique<TSessionLogs>(Paths, logView, stateView);
    // The shared state writes its defaults into the view.
    datas_ = std::make_unique<TCommonDatas>(logs_->View());
    lang_ = std::make_unique<TLang>(Paths, *datas_, *datas_);
    commands_ = std::make_unique<TKVTCommands>();
    // The settings files are read once, there; the language follows them.
    options_ = std::make_unique<TOperatorSettings>(Paths, *datas_, *lang_, *commands_, *logs_);
    IOperationLog& log = logs_->View();
    line_ = std::make_unique<TConnection>(Paths, *datas_, *lang_, log);
    readEvent_ = std::make_unique<TNamedEvent>(EventNames::Readed, false);
    replies_ =
        std::make_unique<TReplyHandler>(*datas_, *lang_, *readEvent_, *line_, scheduler_, &logs_->ReplyLog());
    // The line's read thread hands its chunks to the reply handler's reader, which answers a
    // waiting sending at once; the rest is handled on the main thread.
    line_->SetReceiver(&replies_->Reader());
    connect(replies_.get(), &TReplyHandler::Alert, this, &TSession::Alert);
    connect(replies_.get(), &TReplyHandler::CharactersReceived, this, &TSession::Received);
    sending_ = std::make_unique<TSending>(*datas_, *lang_, *replies_, *line_, log);
    channels_ = std::make_unique<TChannels>(*datas_, *lang_, *replies_, log);
    editor_ = std::make_unique<TProgramEditor>(*datas_, *lang_, *commands_, *options_, *sending_, log);
    document_ = std::make_unique<TProgramDocument>(*editor_, *options_, *datas_, *commands_, *lang_);
    reading_ = std::make_unique<TReadingBack>(*datas_, *lang_, *commands_, *replies_, *readEvent_, *line_,
                                              *editor_, log);
    datas_->SetLastReply("  ");
}

TSession::~TSession() {
    // What a sending and a read use goes after them; the line closes while the sending room,
    // which keeps what the line owes, is still there.
    reading_->Cancel();
    sending_->StopNow();
    line_->Close();
    reading_.reset();
    document_.reset();
    editor_.reset();
    channels_.reset();
    sending_.reset();
    replies_.reset(); // its pending recovery steps go before the scheduler
    line_.reset();
}

void TSession::SaveOnClose() const {
    if (readOnly_)
        return;
    options_->WriteOnClose(line_->PortNumberToStore());
    logs_->WriteOnClose(datas_->Settings());
}
