#include "ChanReadThread.h"

#include "core/Events.h"
#include "core/UnitCommonDatas.h"
#include "serial/LineWriter.h"

TChanReadThread::TChanReadThread(QString request, TCommonDatas& datas, TNamedEvent& readBackEvent,
                                 ILineWriter& writer)
    : request_(std::move(request)), datas_(datas), readBackEvent_(readBackEvent), writer_(writer) {}

QString TChanReadThread::RequestFor(const TCommonDatas& datas) {
    return datas.Settings().DirectControl ? "RB*" : "RD1*";
}

TChanReadThread::~TChanReadThread() {
    thread_.request_stop();
    if (thread_.joinable())
        thread_.join();
}

void TChanReadThread::Start() {
    if (!thread_.joinable())
        thread_ = std::jthread([this](std::stop_token stop) { Execute(stop); });
}

void TChanReadThread::Execute(std::stop_token stop) {
    writer_.WriteText(request_);
    const bool complete = readBackEvent_.WaitFor(datas_.ReplyTime(), stop);
    Outcome outcome = complete ? Outcome::Read : Outcome::TimedOut;
    if (stop.stop_requested())
        outcome = Outcome::Stopped;
    finished_ = true;
    emit Done(outcome);
}
