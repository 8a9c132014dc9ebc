#include "SessionLogs.h"

#include "core/AppError.h"
#include "core/EncodStr.h"
#include "core/Folders.h"
#include "core/ProgramPaths.h"
#include "core/Settings.h"
#include "core/SpoolFile.h"
#include "protocol/ReplyLog.h"
#include "settings/LogFiles.h"

#include <QTime>

// The face's view, with every line of the operation log also kept for work.log.
class TSessionLogs::TTeeView : public ICommonDatasView {
public:
    TTeeView(ILogView& log, IStateView* state, TOperationLogLines& lines)
        : log_(log), state_(state), lines_(lines) {}
    void PaintIndicator(int channel, TRgb colour) override {
        if (state_)
            state_->PaintIndicator(channel, colour);
    }
    void ShowCoordinatesActive(const QString& caption, bool a, bool b, bool c) override {
        if (state_)
            state_->ShowCoordinatesActive(caption, a, b, c);
    }
    void EnableSimpleButtons(bool pusk, bool stop, bool start, bool load) override {
        if (state_)
            state_->EnableSimpleButtons(pusk, stop, start, load);
    }
    void ShowScale(const QString& scale, const QString& group, const QString& unit) override {
        if (state_)
            state_->ShowScale(scale, group, unit);
    }
    void ShowRounding(const QString& text) override {
        if (state_)
            state_->ShowRounding(text);
    }
    void AddRecordingLine(const QString& text) override { log_.AddRecordingLine(text); }
    void AddLogLine(const QString& text, bool red) override {
        // With the option, the time stands before the line, in the window and in work.log.
        const QString line = times ? QTime::currentTime().toString("hh:mm:ss.zzz ") + text : text;
        lines_.Add(line, red);
        log_.AddLogLine(line, red);
    }
    bool times = false;

private:
    ILogView& log_;
    IStateView* state_;
    TOperationLogLines& lines_;
};

TSessionLogs::TSessionLogs(const TProgramPaths& paths, ILogView& logView, IStateView* stateView)
    : paths_(paths), folder_(paths.LogFolder()), operationLog_(paths.LogFolder()),
      replySpool_(std::make_unique<TSpoolFile>(paths.LogFolder())), replyLog_(std::make_unique<TReplyLog>()),
      view_(std::make_unique<TTeeView>(logView, stateView, operationLog_)) {
    SetKeep(TReplyLog::DefaultKeep, TOperationLogLines::DefaultKeep);
}

TSessionLogs::~TSessionLogs() = default;

ICommonDatasView& TSessionLogs::View() {
    return *view_;
}

void TSessionLogs::Log(const QString& text, bool red) {
    view_->AddLogLine(text, red);
}

void TSessionLogs::SetKeep(qsizetype replyLines, qsizetype operationLines) {
    TSpoolFile* spool = replySpool_.get();
    replyLog_->SetShed(replyLines,
                       [spool](const QByteArray& lines) { spool->Append(lines.constData(), lines.size()); });
    operationLog_.SetKeep(operationLines);
}

void TSessionLogs::ShowTimes(bool on) {
    view_->times = on;
    replyLog_->SetTimesShown(on);
}

namespace {
void RefuseIrreplaceable(const QString& fileName, const QString& notRegular) {
    if (!TEncodedStream::MayReplace(fileName))
        throw EFileError::CannotCreate(fileName, notRegular);
}
} // namespace

void TSessionLogs::SaveOperationLogAs(const QString& fileName, const QString& notRegular) const {
    RefuseIrreplaceable(fileName, notRegular);
    QStringList lines;
    QList<bool> red;
    for (const auto& line : operationLog_.Recent()) {
        lines.append(line.text);
        red.append(line.red);
    }
    LogFiles::WriteMarkedOperationLog(fileName, operationLog_.Spool(), operationLog_.RedShed(), lines, red);
}

void TSessionLogs::SaveReplyLogAs(const QString& fileName, const QString& notRegular) const {
    RefuseIrreplaceable(fileName, notRegular);
    LogFiles::WriteReplyLogTo(fileName, *replySpool_, *replyLog_);
}

void TSessionLogs::WriteOnClose(const TSettings& s) const {
    if (s.SaveOperationLog) {
        QStringList recent;
        for (const auto& line : operationLog_.Recent())
            recent.append(line.text);
        LogFiles::WriteOperationLog(paths_, operationLog_.Spool(), recent);
    }
    if (s.SavePortLog)
        LogFiles::WriteReplyLog(paths_, *replySpool_, *replyLog_);
}

QStringList TSessionLogs::WriteSessionCopies(const TSettings& s) const {
    if (!s.KeepSessionLogs)
        return {};
    // This session's copies beside work.log and port.log, the oldest beyond the count gone.
    try {
        Folders::Make(paths_.LogFolder());
        const QString work = LogFiles::SessionCopyName(paths_, started_, "work");
        const QString port = LogFiles::SessionCopyName(paths_, started_, "port");
        SaveOperationLogAs(work, {});
        LogFiles::RecordSessionCopy(paths_, work);
        SaveReplyLogAs(port, {});
        LogFiles::RecordSessionCopy(paths_, port);
        LogFiles::PruneSessionCopies(paths_, int(s.SessionLogCopies), {work, port});
    } catch (const EAppError& error) {
        return {error.Text()};
    }
    return {};
}
