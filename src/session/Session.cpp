#include "Session.h"

#include "PortInfo.h"
#include "core/Events.h"
#include "core/TextCodec.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/ReplyHandler.h"
#include "protocol/ReplyLog.h"
#include "protocol/UnitKVTComands.h"
#include "serial/ComPort.h"
#include "serial/PortDevice.h"
#include "settings/SettingsFiles.h"

namespace {

// The extra text that says why a transmission ended before its last line.
int EndReason(TRWThread::End end) {
    using End = TRWThread::End;
    switch (end) {
    case End::NoAnswer:
        return Ext::EndNoAnswer;
    case End::CommandError:
        return Ext::EndCommandError;
    case End::DataError:
        return Ext::EndDataError;
    case End::CommunicationError:
        return Ext::EndCommunicationError;
    case End::PortClosed:
        return Ext::EndPortClosed;
    default:
        return Ext::EndStopped;
    }
}

} // namespace

TSession::TSession(const QString& programFolder, ICommonDatasView& view, QObject* parent)
    : QObject(parent), Paths(programFolder) {
    port_ = std::make_unique<TComPort>(Paths.PortsFolder());
    connect(port_.get(), &TComPort::HungUp, this, &TSession::PortHungUp);

    datas_ = std::make_unique<TCommonDatas>(view);
    // The first reading of prp.dat, for the language; its failure is reported when the window
    // reads it again, with the language table at hand.
    settings_ = std::make_unique<TSettingsFiles>(Paths, *datas_);
    settings_->LoadProgramSettings(nullptr);

    lang_ = std::make_unique<TLang>(Paths, *datas_, *datas_);
    lang_->LoadMessages();
    lang_->LoadExtraTexts();

    commands_ = std::make_unique<TKVTCommands>();
    RebuildCommandTable();
    connect(datas_.get(), &TCommonDatas::UnitsChanged, this, &TSession::RebuildCommandTable);

    // Port 1 unless portp.dat names another; the line settings are the same at every start.
    port_->SetPortNumber(1);
    portSettingsLoaded_ = settings_->LoadPortSettings(*port_);

    replyEvent_ = std::make_unique<TNamedEvent>(EventNames::PortString, false);
    readyEvent_ = std::make_unique<TNamedEvent>(EventNames::ReadFuncReady, true);
    readBackEvent_ = std::make_unique<TNamedEvent>(EventNames::Readed, false);
    replyLog_ = std::make_unique<TReplyLog>();
    replies_ = std::make_unique<TReplyHandler>(*datas_, *lang_, *replyEvent_, *readyEvent_, *readBackEvent_,
                                               *port_, scheduler_, replyLog_.get());
    // The read thread hands its chunks to the reply handler's reader, which answers a waiting
    // transmission at once; the rest is handled on the main thread.
    port_->SetReceiver(&replies_->Reader());
    connect(replies_.get(), &TReplyHandler::CharactersReceived, this, &TSession::Received);
    // A communication error stops what is being sent before the recovery begins.
    connect(replies_.get(), &TReplyHandler::CommunicationError, this, &TSession::StopTransmission);
    commandList_ = std::make_unique<TCommandList>("MemoSend");
}

TSession::~TSession() {
    // A running transmission stops at once and is waited for, before what it uses goes away;
    // then the port closes and its read thread ends.
    StopTransmission();
    port_.reset();
}

bool TSession::OpenPort() {
    port_->Close();
    port_->Open();
    if (port_->Connected()) {
        ForgetChannelStates();
        if (!PortDevice::HasPortLink(port_->PortsFolder(), port_->PortNumber()))
            datas_->AddLogLine(
                lang_->ExtraText(Ext::FallbackDevice).arg(port_->PortNumber()).arg(port_->DeviceName()));
        port_->EnableReading(true);
        return true;
    }
    const int error = port_->LastOpenError();
    QString reason;
    switch (PortDevice::ClassifyOpenError(error)) {
    case PortDevice::OpenFailure::NoDevice:
        reason = lang_->ExtraText(Ext::NoSuchDevice);
        break;
    case PortDevice::OpenFailure::PermissionDenied:
        reason = lang_->ExtraText(Ext::PermissionDenied);
        break;
    case PortDevice::OpenFailure::Busy:
        reason = lang_->ExtraText(Ext::PortBusy);
        break;
    case PortDevice::OpenFailure::NotSerial:
        reason = lang_->ExtraText(Ext::NotSerialDevice);
        break;
    case PortDevice::OpenFailure::Other:
        reason = PortDevice::SystemErrorText(error);
        break;
    }
    datas_->AddLogLine(
        lang_->ExtraText(Ext::CannotOpenPort).arg(port_->PortNumber()).arg(port_->DeviceName(), reason),
        true);
    return false;
}

void TSession::UsePortForThisStart(quint32 n) {
    if (!storedPortNumber_)
        storedPortNumber_ = port_->PortNumber();
    port_->SetPortNumber(n);
}

void TSession::ChoosePort(quint32 n) {
    storedPortNumber_.reset();
    port_->SetPortNumber(n);
}

quint32 TSession::PortNumberToStore() const {
    return storedPortNumber_.value_or(port_->PortNumber());
}

void TSession::ClosePort() {
    port_->Close();
}

bool TSession::PortOpen() const {
    return port_->Connected();
}

QString TSession::PortInfo() const {
    return ComposePortInfo(port_->PortNumber(), port_->DataBitsIndex(), port_->StopBits(), port_->Parity(),
                           lang_->Messages);
}

void TSession::PortHungUp(const QString& device) {
    datas_->AddLogLine(lang_->ExtraText(Ext::ConnectionLost).arg(port_->PortNumber()).arg(device), true);
    ForgetChannelStates();
    emit PortLost();
}

void TSession::ForgetChannelStates() {
    for (int n = 1; n <= TCommonDatas::ChannelCount; ++n)
        datas_->SetCoordRunning(n, false);
    datas_->ReadBackActive = false;
    datas_->SetCoordStates(TCommonDatas::Standby, TCommonDatas::Standby, TCommonDatas::Standby);
}

TSession::SendStart TSession::Send(const QStringList& lines) {
    replyEvent_->Reset();
    if (rwThread_ && !rwThread_->Finished())
        return SendStart::AlreadyRunning; // one transmission at a time
    rwThread_ = std::make_unique<TRWThread>(lines, *datas_, replies_->Reader(), *readyEvent_, *port_);
    // Emitted from the transmission thread: handled here on the main thread, queued.
    connect(rwThread_.get(), &TRWThread::Ended, this, &TSession::TransmissionThreadEnded);
    sendingTime_.start();
    rwThread_->Start();
    emit TransmissionStarted(int(lines.size()));
    return SendStart::Started;
}

TSession::SendStart TSession::SendCommandList() {
    return Send(commandList_->Lines());
}

void TSession::StopTransmission() {
    rwThread_.reset();
}

bool TSession::StopSending() {
    if (!rwThread_ || rwThread_->Finished())
        return false;
    rwThread_->StopAfterCurrentLine();
    return true;
}

std::optional<TSession::TProgress> TSession::Progress() const {
    if (!rwThread_ || rwThread_->Finished())
        return std::nullopt;
    return TProgress{rwThread_->CurrentLine(), rwThread_->LineCount(), sendingTime_.elapsed()};
}

void TSession::TransmissionThreadEnded(quint64 serial, const TRWThread::TReport& report) {
    // What was received before the end is acted on first, so that the log keeps its order.
    replies_->HandleAllQueued();
    if (report.end == TRWThread::End::NoAnswer)
        datas_->AddLogLine(lang_->Message(Msg::NoReply), true);
    if (report.end == TRWThread::End::PortClosed)
        datas_->AddLogLine(lang_->ExtraText(Ext::PortClosedNotSent).arg(report.line), true);
    if (report.count > 1)
        LogTransmissionSummary(report);
    // A late report of an earlier transmission must not release the running one.
    if (rwThread_ && rwThread_->Serial() == serial)
        rwThread_.reset();
    emit TransmissionEnded(report.end);
}

void TSession::LogTransmissionSummary(const TRWThread::TReport& report) {
    using End = TRWThread::End;
    const QString line = QString::number(report.index + 1), count = QString::number(report.count),
                  sent = QString::number(report.sent);
    // One substitution for all, so that a % in a line is never taken for a placeholder.
    if (report.end == End::Completed)
        datas_->AddLogLine(lang_->ExtraText(Ext::SendingCompleted).arg(sent));
    else if (report.end == End::StoppedByOperator)
        datas_->AddLogLine(lang_->ExtraText(Ext::SendingStopped).arg(line, count, report.line, sent));
    else
        datas_->AddLogLine(lang_->ExtraText(Ext::SendingEnded)
                               .arg(line, count, report.line, sent, lang_->ExtraText(EndReason(report.end))),
                           true);
}

void TSession::RebuildCommandTable() {
    commands_->BuildTable(lang_->Messages, datas_->Scale, datas_->UnitsName,
                          datas_->UnitsMode == TCommonDatas::StepsUnits);
}
