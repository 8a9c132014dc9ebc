#include "Session.h"

#include "OperationLogRecord.h"
#include "OwedAnswer.h"
#include "PortInfo.h"
#include "core/AppError.h"
#include "core/EncodStr.h"
#include "core/Events.h"
#include "core/Folders.h"
#include "core/ShownText.h"
#include "core/SpoolFile.h"
#include "core/UnitCommonDatas.h"
#include "editor/AddCommand.h"
#include "editor/CommandList.h"
#include "editor/OpenRecording.h"
#include "editor/ProgramDocument.h"
#include "editor/Rescale.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "operations/SimpleModeLists.h"
#include "protocol/ReplyHandler.h"
#include "protocol/ReplyLog.h"
#include "protocol/ReplyReader.h"
#include "protocol/UnitKVTComands.h"
#include "serial/PortDevice.h"
#include "settings/ExtraSettingsFile.h"
#include "settings/LogFiles.h"
#include "settings/SettingsFiles.h"

#include <QFileInfo>
#include <QTime>

#include <algorithm>

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

// The words for why a device could not be opened.
QString OpenFailureText(const TLang& lang, int error) {
    switch (PortDevice::ClassifyOpenError(error)) {
    case PortDevice::OpenFailure::NoDevice:
        return lang.ExtraText(Ext::NoSuchDevice);
    case PortDevice::OpenFailure::PermissionDenied:
        return lang.ExtraText(Ext::PermissionDenied);
    case PortDevice::OpenFailure::Busy:
        return lang.ExtraText(Ext::PortBusy);
    case PortDevice::OpenFailure::NotSerial:
        return lang.ExtraText(Ext::NotSerialDevice);
    case PortDevice::OpenFailure::Other:
        break;
    }
    return PortDevice::SystemErrorText(error);
}

} // namespace

// The window's view, with every line of the operation log also recorded for work.log.
class TSession::TRecordingView : public ICommonDatasView {
public:
    TRecordingView(ICommonDatasView& view, TOperationLogRecord& log) : view_(view), log_(log) {}
    void PaintIndicator(int channel, TRgb colour) override { view_.PaintIndicator(channel, colour); }
    void ShowCoordinatesActive(const QString& caption, bool a, bool b, bool c) override {
        view_.ShowCoordinatesActive(caption, a, b, c);
    }
    void EnableSimpleButtons(bool pusk, bool stop, bool start, bool load) override {
        view_.EnableSimpleButtons(pusk, stop, start, load);
    }
    void ShowScale(const QString& scale, const QString& group, const QString& unit) override {
        view_.ShowScale(scale, group, unit);
    }
    void ShowRounding(const QString& text) override { view_.ShowRounding(text); }
    void AddRecordingLine(const QString& text) override { view_.AddRecordingLine(text); }
    void AddLogLine(const QString& text, bool red) override {
        // With the option, the time stands before the line, in the window and in work.log.
        const QString line = times ? QTime::currentTime().toString("hh:mm:ss.zzz ") + text : text;
        log_.Add(line, red);
        view_.AddLogLine(line, red);
    }
    bool times = false;

private:
    ICommonDatasView& view_;
    TOperationLogRecord& log_;
};

TSession::TSession(const QString& programFolder, ICommonDatasView& view, QObject* parent)
    : QObject(parent), Paths(programFolder) {
    operationLog_ = std::make_unique<TOperationLogRecord>(Paths.LogFolder());
    recordingView_ = std::make_unique<TRecordingView>(view, *operationLog_);
    replySpool_ = std::make_unique<TSpoolFile>(Paths.LogFolder());
    port_ = std::make_unique<TComPort>(Paths.PortsFolder());
    connect(port_.get(), &TComPort::HungUp, this, &TSession::PortHungUp);
    connect(&deviceWatch_, &TDeviceWatch::Returned, this, [this](const QString& device) {
        if (port_->Connected())
            return;
        Log(lang_->ExtraText(Ext::DeviceBack).arg(device).arg(port_->PortNumber()));
        emit DeviceReturned(device);
    });
    datas_ = std::make_unique<TCommonDatas>(*recordingView_);

    // The settings files are read once, here; the language must be known before its files are.
    settingsFiles_ = std::make_unique<TSettingsFiles>(Paths);
    TSettings settings;
    programSettingsLoaded_ = settingsFiles_->LoadProgramSettings(settings);
    portSettingsLoaded_ = settingsFiles_->LoadPortSettings(settings);
    errorSettingsLoaded_ = settingsFiles_->LoadErrorSettings(settings);
    extraSettingsFile_ = std::make_unique<TExtraSettingsFile>(Paths);
    extraSettingsLoaded_ = extraSettingsFile_->Load(settings);
    // A mode the window has no item for keeps the window's first item.
    if (settings.ControlMode > TSettings::ExtendedMode)
        settings.ControlMode = TSettings::SimpleMode;
    if (settings.UnitsMode > TSettings::OtherUnits)
        settings.UnitsMode = TSettings::StepsUnits;
    datas_->SetSettings(settings);

    lang_ = std::make_unique<TLang>(Paths, *datas_, *datas_);
    languageFound_ = lang_->LanguageFound(settings.Language);
    lang_->LoadMessages();
    lang_->LoadExtraTexts();
    commands_ = std::make_unique<TKVTCommands>();
    RebuildCommandTable();

    // The stored port number; the line settings are the same at every start.
    port_->SetPortNumber(settings.PortNumber);
    port_->SetLine(TComPort::TLineChoice{});

    readBackEvent_ = std::make_unique<TNamedEvent>(EventNames::Readed, false);
    replyLog_ = std::make_unique<TReplyLog>();
    SetLogKeep(TReplyLog::DefaultKeep, TOperationLogRecord::DefaultKeep);
    ApplyLogTimes();
    replies_ = std::make_unique<TReplyHandler>(*datas_, *lang_, *readBackEvent_, *port_, scheduler_,
                                               replyLog_.get());
    // The read thread hands its chunks to the reply handler's reader, which answers a waiting
    // transmission at once; the rest is handled on the main thread.
    port_->SetReceiver(&replies_->Reader());
    connect(replies_.get(), &TReplyHandler::CharactersReceived, this, &TSession::Received);
    connect(replies_.get(), &TReplyHandler::TokenArrived, this, [this](const QString& token, quint64 serial) {
        emit TokenReceived(token);
        // The answers of lines being sent, told as their tokens are acted on.
        TellAnswers(serial);
    });
    connect(replies_.get(), &TReplyHandler::ChannelReported, this, &TSession::ChannelReported);
    connect(replies_.get(), &TReplyHandler::Alert, this, &TSession::Alert);
    // A communication error stops what is being sent before the recovery begins.
    connect(replies_.get(), &TReplyHandler::CommunicationError, this, &TSession::StopTransmission);
    commandList_ = std::make_unique<TCommandList>("MemoSend");
    datas_->SetLastReply("  ");
}

TSession::~TSession() {
    // A running transmission and read stop at once and are waited for, before what they use
    // goes away; then the port closes and its read thread ends.
    readThread_.reset();
    StopTransmission();
    KeepOwedAnswer();
    port_.reset();
}

int TSession::OwedQuietMs() const {
    return int(TRWThread::OwedStatusReplyTimes * datas_->ReplyTime());
}

void TSession::KeepOwedAnswer() {
    if (port_ && port_->Connected())
        OwedAnswer::Keep(port_->DeviceName(), replies_->Reader(), OwedQuietMs());
}

const TSettings& TSession::Settings() const {
    return datas_->Settings();
}

void TSession::Log(const QString& text, bool red) {
    datas_->AddLogLine(text, red);
}

// --- settings and language ---

QString TSession::PortSettingsFile() const {
    return settingsFiles_->PortFile();
}

QString TSession::ProgramSettingsFile() const {
    return settingsFiles_->ProgramFile();
}

QString TSession::ExtraSettingsFile() const {
    return extraSettingsFile_->FileName();
}

QString TSession::ErrorSettingsFile() const {
    return settingsFiles_->ErrorFile();
}

QStringList TSession::TakeLanguageProblems() {
    return lang_->TakeFileProblems();
}

void TSession::ApplyMainLanguage(ICaptionTarget& window) {
    lang_->ReloadLanguage(window);
}

void TSession::ApplyDialogLanguage(ICaptionTarget& dialog, std::span<const TCaptionSlot> captionSlots,
                                   int highestEntry) {
    lang_->ApplyDialogLanguage(dialog, captionSlots, highestEntry);
}

QString TSession::ChangeLanguage(const QString& code) {
    // A language whose files can't be read would leave the windows without captions, and be
    // stored for the next start: it changes nothing.
    for (const char* part : {"f1", "addf", "msg"}) {
        const QString path = lang_->LanguageFileOf(code, part);
        if (!TLang::ValidCode(code) || !TLang::ReadLanguageFile(path))
            return path;
    }
    languageFound_ = true;
    datas_->SetLanguage(code);
    lang_->LoadMessages();
    lang_->LoadExtraTexts();
    RebuildCommandTable();
    return {};
}

void TSession::ApplySettings(const TSettings& settings) {
    const TSettings& now = datas_->Settings();
    TSettings next = settings;
    next.ControlMode = now.ControlMode;
    next.UnitsMode = now.UnitsMode;
    next.Scale = now.Scale;
    next.Language = now.Language;
    next.PortNumber = now.PortNumber;
    next.DirectControl = now.DirectControl;
    datas_->SetSettings(next);
    ApplyLogTimes();
    RebuildCommandTable();
}

void TSession::ApplyLogTimes() {
    recordingView_->times = datas_->Settings().LogTimes;
    replyLog_->SetTimesShown(datas_->Settings().LogTimes);
}

void TSession::SaveOperationLogAs(const QString& fileName) const {
    RefuseIrreplaceable(fileName);
    QStringList lines;
    QList<bool> red;
    for (const auto& line : operationLog_->Recent()) {
        lines.append(line.text);
        red.append(line.red);
    }
    LogFiles::WriteMarkedOperationLog(fileName, operationLog_->Spool(), operationLog_->RedShed(), lines, red);
}

void TSession::NoteFileUsed(const QString& file, bool programFile) {
    const TSettings& settings = datas_->Settings();
    const QFileInfo info(file);
    datas_->SetFileHistory(programFile
                               ? TProgramDocument::WithRecent(settings.RecentFiles, info.absoluteFilePath())
                               : settings.RecentFiles,
                           info.absolutePath());
}

void TSession::ForgetRecentFile(const QString& file) {
    QStringList recent = datas_->Settings().RecentFiles;
    recent.removeAll(file);
    datas_->SetFileHistory(recent, datas_->Settings().LastFolder);
}

QString TSession::FileDialogFolder() const {
    const QString& last = datas_->Settings().LastFolder;
    return !last.isEmpty() && QFileInfo(last).isDir() ? last : Paths.UsersFolder();
}

void TSession::RefuseIrreplaceable(const QString& fileName) const {
    if (!TEncodedStream::MayReplace(fileName))
        throw EFileError::CannotCreate(fileName, lang_->ExtraText(Ext::NotARegularFile));
}

void TSession::SaveReplyLogAs(const QString& fileName) const {
    RefuseIrreplaceable(fileName);
    LogFiles::WriteReplyLogTo(fileName, *replySpool_, *replyLog_);
}

void TSession::SaveOnClose() const {
    if (readOnly_)
        return;
    const TSettings& s = datas_->Settings();
    if (s.SavePortSettings)
        settingsFiles_->WritePortSettings(PortNumberToStore());
    if (s.SaveProgramSettings) {
        // A language whose files were not found is not stored: the next start is in English
        // instead of repeating the same complaints.
        TSettings stored = s;
        if (!languageFound_)
            stored.Language = "en";
        settingsFiles_->WriteProgramSettings(stored);
        extraSettingsFile_->Write(stored);
    }
    if (s.SaveErrorSettings)
        settingsFiles_->WriteErrorSettings(s);
    if (s.SaveOperationLog) {
        QStringList recent;
        for (const auto& line : operationLog_->Recent())
            recent.append(line.text);
        LogFiles::WriteOperationLog(Paths, operationLog_->Spool(), recent);
    }
    if (s.SavePortLog)
        LogFiles::WriteReplyLog(Paths, *replySpool_, *replyLog_);
    if (s.KeepSessionLogs) {
        // This session's copies beside work.log and port.log, the oldest beyond the count gone.
        Folders::Make(Paths.LogFolder());
        const QString work = LogFiles::SessionCopyName(Paths, started_, "work");
        const QString port = LogFiles::SessionCopyName(Paths, started_, "port");
        SaveOperationLogAs(work);
        LogFiles::RecordSessionCopy(Paths, work);
        SaveReplyLogAs(port);
        LogFiles::RecordSessionCopy(Paths, port);
        LogFiles::PruneSessionCopies(Paths, int(s.SessionLogCopies), {work, port});
    }
}

void TSession::SetLogKeep(qsizetype replyLines, qsizetype operationLines) {
    TSpoolFile* spool = replySpool_.get();
    replyLog_->SetShed(replyLines,
                       [spool](const QByteArray& lines) { spool->Append(lines.constData(), lines.size()); });
    operationLog_->SetKeep(operationLines);
}

// --- the port ---

void TSession::UsePortForThisStart(quint32 n) {
    if (!storedPortNumber_)
        storedPortNumber_ = port_->PortNumber();
    port_->SetPortNumber(n);
}

void TSession::ChoosePort(quint32 n) {
    deviceWatch_.Stop(); // another port is the operator's choice now
    storedPortNumber_.reset();
    port_->SetDevice({});
    port_->SetPortNumber(n);
}

void TSession::UseDevice(const QString& device) {
    port_->SetDevice(device);
}

quint32 TSession::PortNumber() const {
    return port_->PortNumber();
}

quint32 TSession::PortNumberToStore() const {
    return storedPortNumber_.value_or(port_->PortNumber());
}

QString TSession::PortDevice() const {
    return port_->DeviceName();
}

QString TSession::DeviceForPort(quint32 n) const {
    return port_->DeviceForPort(n);
}

void TSession::SetSystemDeviceFolder(const QString& folder) {
    port_->SetSystemDeviceFolder(folder);
}

bool TSession::OpenPort() {
    KeepOwedAnswer();
    port_->Close();
    port_->Open();
    if (port_->Connected()) {
        // An answer an earlier session left owed on this line is waited for here too.
        OwedAnswer::Restore(port_->DeviceName(), replies_->Reader());
        deviceWatch_.Stop();
        ForgetCommunication();
        if (port_->DeviceName() == port_->DeviceForPort(port_->PortNumber()) &&
            !PortDevice::HasPortLink(port_->PortsFolder(), port_->PortNumber()))
            Log(lang_->ExtraText(Ext::FallbackDevice).arg(port_->PortNumber()).arg(port_->DeviceName()));
        port_->EnableReading(true);
        return true;
    }
    openFailure_ = lang_->ExtraText(Ext::CannotOpenPort)
                       .arg(port_->PortNumber())
                       .arg(port_->DeviceName(), OpenFailureText(*lang_, port_->LastOpenError()));
    Log(openFailure_, true);
    return false;
}

void TSession::ClosePort() {
    KeepOwedAnswer();
    port_->Close();
}

bool TSession::PortOpen() const {
    return port_->Connected();
}

QString TSession::PortInfo() const {
    return ComposePortInfo(port_->PortNumber(), port_->DataBitsIndex(), port_->StopBits(), port_->Parity(),
                           lang_->Messages);
}

TComPort::TLineChoice TSession::LineSettings() const {
    return port_->Line();
}

void TSession::SetLineSettings(const TComPort::TLineChoice& line) {
    port_->SetLine(line);
}

void TSession::PortHungUp(const QString& device) {
    Log(lang_->ExtraText(Ext::ConnectionLost).arg(port_->PortNumber()).arg(device), true);
    // A list being sent stops where it is: nothing can answer it any more.
    if (rwThread_ && !rwThread_->Finished())
        rwThread_->PortLost();
    ForgetCommunication();
    Log(lang_->ExtraText(Ext::StatesLastKnown));
    // The port's own name (a link under ports/ stays while its device is away).
    deviceWatch_.Watch(PortDevice());
    emit PortLost();
}

void TSession::ForgetCommunication() {
    for (int n = 1; n <= TCommonDatas::ChannelCount; ++n) {
        if (datas_->CoordState[n] == TCommonDatas::Communication)
            datas_->SetCoordState(n, TCommonDatas::Standby);
    }
    datas_->CommMode = false;
    datas_->ReadBackActive = false;
}

// --- sending ---

TSession::SendStart TSession::Send(const QStringList& lines) {
    if (rwThread_ && !rwThread_->Finished())
        return SendStart::AlreadyRunning; // one transmission at a time
    // A finished one whose end is still on its way goes first; the new one may well take its
    // memory, and only its serial number tells the two apart.
    rwThread_.reset();
    rwThread_ = std::make_unique<TRWThread>(lines, *datas_, replies_->Reader(), *port_);
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

Preview::TListPreview TSession::PreviewOf(const QStringList& lines) const {
    return Preview::PreviewList(lines, datas_->Settings().Travel);
}

QString TSession::TravelQuestion() const {
    const TTravelLimits& travel = datas_->Settings().Travel;
    if (std::none_of(travel.begin(), travel.end(), [](const TTravelLimit& t) { return t.on; }))
        return {};
    const Preview::TListPreview preview = PreviewOfList();
    const Preview::TProgram* program = preview.FirstLeavingTravel();
    if (!program)
        return {};
    const TPreviewUnits units = PreviewUnits();
    const TTravelLimit& t = travel[size_t(program->channel)];
    const int line = program->leavesTravelAt;
    return lang_->ExtraText(Ext::TravelAskBeforeSend)
        .arg(QString::number(line + 1), Shown(commandList_->Line(line)), QString::number(program->channel),
             units.Position(program->leavesTravelTo), units.Position(t.low), units.Position(t.high));
}

Preview::TListPreview TSession::PreviewOfList() const {
    return PreviewOf(commandList_->Lines());
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

bool TSession::RecordingUnderWay() const {
    for (int n = 1; n <= TCommonDatas::ChannelCount; ++n) {
        if (datas_->CoordState[n] == TCommonDatas::Communication)
            return true;
    }
    return false;
}

void TSession::EndForClose() {
    closing_ = true; // the recording a stopped list leaves open is ended below, in the close's words
    if (rwThread_) {
        const quint64 serial = rwThread_->Serial();
        rwThread_->StopAndWait();
        const TRWThread::TReport report = rwThread_->FinalReport();
        TransmissionThreadEnded(serial, report); // logged now: there is no event loop to come
        loggedSerial_ = serial;
    }
    for (int n = 1; n <= TCommonDatas::ChannelCount; ++n) {
        if (datas_->CoordState[n] != TCommonDatas::Communication)
            continue;
        port_->WriteText("ED*");
        Log(lang_->ExtraText(Ext::RecordingEndedOnClose).arg(n));
        break; // one "ED*" ends the controller's communication mode
    }
}

void TSession::EndRecordingLeftOpen(const TRWThread::TReport& report, bool wholeList) {
    using End = TRWThread::End;
    // A whole list that stops after an accepted LD leaves the controller recording, and its next
    // LD would be refused as an incorrect command. Direct Control builds the recording command by
    // command: the operator ends it. A communication error has its own handling (the recovery's
    // "ED*", or nothing when the recovery is off); a closed port can send nothing.
    if (closing_ || !wholeList || report.end == End::Completed || report.end == End::PortClosed ||
        report.end == End::CommunicationError)
        return;
    for (int n = 1; n <= TCommonDatas::ChannelCount; ++n) {
        if (datas_->CoordState[n] != TCommonDatas::Communication)
            continue;
        port_->WriteText("ED*");
        if (report.end == End::NoAnswer)
            Log(lang_->ExtraText(Ext::RecordingMayRemain).arg(n), true);
        else
            Log(lang_->ExtraText(Ext::RecordingLeftOpen).arg(n));
        return; // one "ED*" ends the controller's communication mode
    }
}

void TSession::TellAnswers(quint64 throughSerial) {
    if (!rwThread_)
        return;
    for (const TRWThread::TLineAnswer& a : rwThread_->TakeAnswers(throughSerial))
        emit LineAnswered(a.index, a.line, a.echo, a.status);
}

void TSession::TransmissionThreadEnded(quint64 serial, const TRWThread::TReport& report) {
    if (serial == loggedSerial_)
        return; // its end was logged already, at a close
    // What was received before the end is acted on first, so that the log keeps its order.
    replies_->HandleReceivedSoFar();
    if (rwThread_ && rwThread_->Serial() == serial)
        TellAnswers(UINT64_MAX);
    if (report.end == TRWThread::End::NoAnswer)
        Log(lang_->Message(Msg::NoReply), true);
    if (report.end == TRWThread::End::PortClosed)
        Log(lang_->ExtraText(Ext::PortClosedNotSent).arg(Shown(report.line)), true);
    if (report.count > 1)
        LogTransmissionSummary(report);
    EndRecordingLeftOpen(report, serial != directSerial_);
    // A late report of an earlier transmission must not release the running one.
    if (rwThread_ && rwThread_->Serial() == serial)
        rwThread_.reset();
    emit TransmissionEnded(report.end, report);
}

void TSession::LogTransmissionSummary(const TRWThread::TReport& report) {
    Log(TransmissionSummary(report),
        report.end != TRWThread::End::Completed && report.end != TRWThread::End::StoppedByOperator);
}

QString TSession::TransmissionSummary(const TRWThread::TReport& report) const {
    using End = TRWThread::End;
    const QString line = QString::number(report.index + 1), count = QString::number(report.count),
                  sent = QString::number(report.sent);
    // One substitution for all, so that a % in a line is never taken for a placeholder.
    if (report.end == End::Completed)
        return lang_->ExtraText(Ext::SendingCompleted).arg(sent);
    if (report.end == End::StoppedByOperator)
        return lang_->ExtraText(Ext::SendingStopped).arg(line, count, Shown(report.line), sent);
    return lang_->ExtraText(Ext::SendingEnded)
        .arg(line, count, Shown(report.line), sent, lang_->ExtraText(EndReason(report.end)));
}

// --- the command list ---

TSession::TAddOutcome TSession::AddCommand(int index, const QString& argument) {
    const bool direct = datas_->Settings().DirectControl;
    // The command could not be sent now; adding it silently would let the operator believe it
    // had been.
    if (direct && Transmitting())
        return {TAddOutcome::Busy, {}};
    if (direct)
        ClearList();
    const TMadeCommand made = ::AddCommand(*commands_, *datas_, index, argument, *commandList_);
    if (!made)
        return {TAddOutcome::Refused, made.refusal};
    if (direct && SendCommandList() == SendStart::Started)
        directSerial_ = rwThread_->Serial();
    return {};
}

void TSession::ClearList() {
    commandList_->Clear();
    SetListFaulty(false);
    emit ListCleared();
}

void TSession::RemoveLine(int index) {
    commandList_->Remove(index);
}

void TSession::MoveLine(int from, int to) {
    commandList_->Drag(from, to);
}

void TSession::SetProgram(const QStringList& lines, const QStringList& descriptions) {
    commandList_->SetProgram(lines, descriptions);
    // One warning, however many lines are wrong: the first of them and their number.
    const int faulty = commandList_->FirstFaultyLine();
    SetListFaulty(faulty >= 0);
    if (faulty >= 0) {
        Log(lang_->Message(Msg::WrongCommandInList) + ' ' +
                lang_->ExtraText(Ext::FaultyLines)
                    .arg(faulty + 1)
                    .arg(Shown(commandList_->Line(faulty)))
                    .arg(commandList_->FaultyLineCount()),
            true);
    }
}

TSession::TListState TSession::ListState() const {
    return {commandList_->Lines(), commandList_->Descriptions(), listFaulty_};
}

void TSession::RestoreList(const TListState& state) {
    commandList_->SetProgram(state.lines, state.descriptions);
    SetListFaulty(state.faulty);
}

PlainTextProgram::TImported TSession::ImportPlainText(const QString& fileName) {
    return PlainTextProgram::Import(fileName, *commands_, *datas_, *lang_);
}

void TSession::SetDirectControl(bool on) {
    datas_->SetDirectControl(on);
    ClearList();
}

void TSession::SetControlMode(quint8 mode) {
    datas_->SetControlMode(mode);
    ClearList();
}

void TSession::SetListFaulty(bool faulty) {
    listFaulty_ = faulty;
    emit ListFaultyChanged(faulty);
}

TSession::TScaleChange TSession::ChangeUnitsMode(quint8 mode, const QString& scaleText) {
    datas_->SetUnitsMode(mode);
    TScaleChange change;
    if (mode == TSettings::StepsUnits)
        datas_->SetScale(1); // the list stays as it is
    else
        change = ApplyScaleText(scaleText);
    RebuildCommandTable();
    return change;
}

TSession::TScaleChange TSession::ChangeScale(const QString& scaleText) {
    const TScaleChange change = ApplyScaleText(scaleText);
    RebuildCommandTable();
    return change;
}

TSession::TScaleChange TSession::ApplyScaleText(const QString& scaleText) {
    TScaleChange change;
    const double old = datas_->Settings().Scale;
    // A point and a comma both separate the decimals, whatever the system's separator.
    const auto scale = ParseScaleText(scaleText);
    change.badScale = !scale;
    datas_->SetScale(scale.value_or(1));
    if (commandList_->IsEmpty())
        return change;
    const TRescaleResult result = RescaleCommandList(*commandList_, datas_->Settings().Scale / old, *datas_);
    for (int line : result.saturated) {
        Log(lang_->ExtraText(Ext::RescaleLimited)
                .arg(line + 1)
                .arg(commandList_->Line(line).left(2), Shown(commandList_->Line(line).mid(2))),
            true);
    }
    if (!result.complete)
        change.notWhole = result.badArgument;
    return change;
}

// --- the simple control mode ---

QStringList TSession::PrepareSimpleList(SimpleAction action, const TMotion& motion) {
    commandList_->Clear();
    TSimpleModeLists lists(*commands_, *datas_, *commandList_);
    switch (action) {
    case SimpleAction::Write:
        lists.BuildWriteList(motion);
        break;
    case SimpleAction::Start:
        lists.BuildStartList();
        break;
    case SimpleAction::Stop:
        datas_->ProgramRunning = true;
        lists.BuildStopList();
        break;
    case SimpleAction::WriteAndStart:
        lists.BuildWriteList(motion);
        lists.BuildStartList();
        break;
    }
    return lists.Refusals();
}

void TSession::SetChannelsActive(bool a, bool b, bool c) {
    datas_->SetCoordsActive(a, b, c);
}

void TSession::SetChannelStates(const std::array<quint8, 3>& states) {
    for (quint8 state = 0; state <= 3; ++state) {
        for (int channel = 1; channel <= 3; ++channel) {
            if (states[size_t(channel - 1)] == state)
                datas_->SetCoordState(channel, state);
        }
    }
}

// --- reading the program back ---

TSession::ReadBackStart TSession::StartReadBack() {
    if (datas_->CommMode)
        return ReadBackStart::RecordingMode;
    if (datas_->CoordState[1] != TCommonDatas::Standby)
        return ReadBackStart::NotInStandby;
    if (readThread_)
        return ReadBackStart::AlreadyReading;
    // This read collects, and waits for, its own answer only.
    replies_->BeginReadBack();
    readBackEvent_->Reset();
    TReplyReader& reader = replies_->Reader();
    const int baud = TComPort::BaudRates[std::min<int>(port_->Line().baudIndex, TComPort::BaudRateCount - 1)];
    readThread_ = std::make_unique<TChanReadThread>(
        TChanReadThread::RequestFor(*datas_), *datas_, *readBackEvent_, *port_,
        [&reader] { return reader.BytesReceived(); },
        TChanReadThread::LongestReadMs(baud, int(datas_->ReplyTime())));
    // Emitted on the read thread; taken here, on the main thread.
    connect(readThread_.get(), &TChanReadThread::Done, this, &TSession::ReadThreadDone);
    readThread_->Start();
    return ReadBackStart::Started;
}

void TSession::CancelReadBack() {
    readThread_.reset();
    replies_->EndReadBack();
}

void TSession::ReadThreadDone(TChanReadThread::Outcome outcome) {
    if (outcome == TChanReadThread::Outcome::Stopped)
        return;
    readThread_.reset();
    // What came before the end is taken first, then judged: an answer received in the last
    // moments of the reply time, not yet handled, is an answer.
    replies_->HandleReceivedSoFar();
    const QString text = datas_->ReadBackText();
    // Every end of a read ends the collection: a late answer is not taken in.
    replies_->EndReadBack();
    readBackEvent_->Reset();
    if (outcome == TChanReadThread::Outcome::TimedOut && text.isEmpty()) {
        Log(lang_->Message(Msg::NoReply), true);
        emit ReadBackDone(TChanReadThread::Outcome::NoAnswer, {});
        return;
    }
    if (!text.contains("ED*"))
        Log(lang_->ExtraText(Ext::NoCorrectProgram));
    emit ReadBackDone(TChanReadThread::Outcome::Read, text);
}

TReadBack TSession::ParseReadBack(const QStringList& lines, TCommandList& into) {
    TReadBack read = ::ParseReadBack(lines, *commands_, *datas_, into);
    if (!read.stoppedAt.isEmpty())
        Log(lang_->ExtraText(Ext::ReadBackStopped).arg(Shown(read.stoppedAt), Shown(read.stopReason)), true);
    return read;
}

void TSession::SetProgramFromRead(const TCommandList& read, const TReadBack& parsed) {
    if (parsed.wrongCommand)
        Log(lang_->ExtraText(Ext::WrongCommandInReadList), true);
    ClearList();
    SetListFaulty(parsed.wrongCommand);
    commandList_->SetProgram(read.Lines(), read.Descriptions());
    // The controller lists its program without the ED that ended the recording: a whole program
    // taken over ends with it, so that it can be written back as it is.
    if (parsed.endSeen && OpenRecordingAtEnd(commandList_->Lines()))
        ::AddCommand(*commands_, *datas_, TKVTCommands::ED, "no", *commandList_);
}

QString TSession::OpenRecordingQuestion() const {
    const auto open = OpenRecordingAtEnd(commandList_->Lines());
    if (!open)
        return {};
    return lang_->ExtraText(Ext::AskSendOpenRecording).arg(open->channel).arg(open->line + 1);
}

// --- the recovery steps ---

void TSession::RunErrorRecovery() {
    replies_->RunErrorRecovery();
}

void TSession::BreakCommunication() {
    replies_->BreakCommunication();
}

void TSession::ClearReadinessMarks() {
    replies_->ClearReadinessMarks();
}

void TSession::RebuildCommandTable() {
    const TSettings& s = datas_->Settings();
    commands_->BuildTable(lang_->Messages, s.Scale, s.UnitsName, s.UnitsMode == TSettings::StepsUnits);
    emit ShownValuesChanged();
}

TPreviewUnits TSession::PreviewUnits() const {
    const TSettings& s = datas_->Settings();
    const bool steps = s.UnitsMode == TSettings::StepsUnits;
    return {steps, steps ? 1.0 : s.Scale, steps ? lang_->ExtraText(Ext::PreviewSteps) : s.UnitsName};
}
