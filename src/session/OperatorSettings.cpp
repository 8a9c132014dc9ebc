#include "OperatorSettings.h"

#include "SessionLogs.h"
#include "core/AppError.h"
#include "core/EncodStr.h"
#include "core/ProgramPaths.h"
#include "core/Settings.h"
#include "core/UnitCommonDatas.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "protocol/UnitKVTComands.h"
#include "settings/CommandHistory.h"
#include "settings/ExtraSettingsFile.h"
#include "settings/SettingsFiles.h"

#include <QFileInfo>

#include <functional>

namespace {
// `recent` with `file` put first: no file twice, at most five.
QStringList WithRecent(QStringList recent, const QString& file) {
    recent.removeAll(file);
    recent.prepend(file);
    while (recent.size() > 5)
        recent.removeLast();
    return recent;
}
} // namespace

TOperatorSettings::TOperatorSettings(const TProgramPaths& paths, TCommonDatas& datas, TLang& lang,
                                     TKVTCommands& commands, TSessionLogs& logs)
    : paths_(paths), datas_(datas), lang_(lang), commands_(commands), logs_(logs),
      files_(std::make_unique<TSettingsFiles>(paths)),
      extraFile_(std::make_unique<TExtraSettingsFile>(paths)),
      history_(std::make_unique<TCommandHistory>(paths.DataFolder() + "/command-history.txt")) {
    // Read once, here; the language must be known before its files are.
    TSettings settings;
    const bool program = files_->LoadProgramSettings(settings);
    const bool port = files_->LoadPortSettings(settings);
    const bool errors = files_->LoadErrorSettings(settings);
    // Named in the order the window has always named them.
    for (const auto& [read, file] :
         {std::pair{port, files_->PortFile()}, std::pair{program, files_->ProgramFile()},
          std::pair{errors, files_->ErrorFile()}}) {
        if (!read)
            damaged_ << file;
    }
    if (!history_->Load())
        damaged_ << history_->FileName();
    if (!extraFile_->Load(settings))
        extraDamaged_ = extraFile_->FileName();
    // A mode the window has no item for keeps the window's first item.
    if (settings.ControlMode > TSettings::ExtendedMode)
        settings.ControlMode = TSettings::SimpleMode;
    if (settings.UnitsMode > TSettings::OtherUnits)
        settings.UnitsMode = TSettings::StepsUnits;
    datas_.SetSettings(settings);
    logs_.ShowTimes(settings.LogTimes);

    languageFound_ = lang_.LanguageFound(settings.Language);
    lang_.LoadMessages();
    lang_.LoadExtraTexts();
    RebuildCommandTable();
}

TOperatorSettings::~TOperatorSettings() = default;

const TSettings& TOperatorSettings::Settings() const {
    return datas_.Settings();
}

void TOperatorSettings::Apply(const TSettings& settings) {
    const TSettings& now = datas_.Settings();
    TSettings next = settings;
    next.ControlMode = now.ControlMode;
    next.UnitsMode = now.UnitsMode;
    next.Scale = now.Scale;
    next.Language = now.Language;
    next.PortNumber = now.PortNumber;
    next.DirectControl = now.DirectControl;
    datas_.SetSettings(next);
    logs_.ShowTimes(next.LogTimes);
    RebuildCommandTable();
}

QString TOperatorSettings::ChangeLanguage(const QString& code) {
    // A language whose files can't be read would leave the windows without captions, and be
    // stored for the next start: it changes nothing.
    for (const char* part : {"f1", "addf", "msg"}) {
        const QString path = lang_.LanguageFileOf(code, part);
        if (!TLang::ValidCode(code) || !TLang::ReadLanguageFile(path))
            return path;
    }
    languageFound_ = true;
    datas_.SetLanguage(code);
    lang_.LoadMessages();
    lang_.LoadExtraTexts();
    RebuildCommandTable();
    return {};
}

QStringList TOperatorSettings::ApplyMainLanguage(ICaptionTarget& window) {
    lang_.ReloadLanguage(window);
    return lang_.TakeFileProblems();
}

QStringList TOperatorSettings::ApplyDialogLanguage(ICaptionTarget& dialog,
                                                   std::span<const TCaptionSlot> captionSlots,
                                                   int highestEntry) {
    lang_.ApplyDialogLanguage(dialog, captionSlots, highestEntry);
    return lang_.TakeFileProblems();
}

QStringList TOperatorSettings::TakeLanguageProblems() {
    return lang_.TakeFileProblems();
}

void TOperatorSettings::RebuildCommandTable() {
    const TSettings& s = datas_.Settings();
    commands_.BuildTable(lang_.Messages, s.Scale, s.UnitsName, s.UnitsMode == TSettings::StepsUnits);
    emit ShownValuesChanged();
}

void TOperatorSettings::NoteFileUsed(const QString& file, bool programFile) {
    const TSettings& settings = datas_.Settings();
    const QFileInfo info(file);
    datas_.SetFileHistory(programFile ? WithRecent(settings.RecentFiles, info.absoluteFilePath())
                                      : settings.RecentFiles,
                          info.absolutePath());
}

void TOperatorSettings::ForgetRecentFile(const QString& file) {
    QStringList recent = datas_.Settings().RecentFiles;
    recent.removeAll(file);
    datas_.SetFileHistory(recent, datas_.Settings().LastFolder);
}

QString TOperatorSettings::FileDialogFolder() const {
    const QString& last = datas_.Settings().LastFolder;
    return !last.isEmpty() && QFileInfo(last).isDir() ? last : paths_.UsersFolder();
}

void TOperatorSettings::WriteOnClose(quint32 portNumber) const {
    const TSettings& s = datas_.Settings();
    if (s.SavePortSettings)
        files_->WritePortSettings(portNumber);
    if (s.SaveProgramSettings) {
        // A language whose files were not found is not stored: the next start is in English
        // instead of repeating the same complaints.
        TSettings stored = s;
        if (!languageFound_)
            stored.Language = "en";
        files_->WriteProgramSettings(stored);
    }
    if (s.SaveErrorSettings)
        files_->WriteErrorSettings(s);
}

QStringList TOperatorSettings::WriteOwnFiles() const {
    if (!datas_.Settings().SaveProgramSettings)
        return {};
    QStringList problems;
    // A link, a pipe or a device at a file's name is never turned into a file.
    const auto write = [&](const QString& fileName, const std::function<void()>& write) {
        try {
            if (!TEncodedStream::MayReplace(fileName))
                throw EFileError::CannotCreate(fileName, lang_.ExtraText(Ext::NotARegularFile));
            write();
        } catch (const EAppError& error) {
            problems << error.Text();
        }
    };
    write(extraFile_->FileName(), [&] { extraFile_->Write(datas_.Settings()); });
    if (history_->Changed())
        write(history_->FileName(), [&] { history_->Write(); });
    return problems;
}
