#include "FolderLock.h"

#include "core/ProgramPaths.h"
#include "core/Settings.h"
#include "lang/BuiltInTexts.h"
#include "lang/Lang.h"
#include "settings/SettingsFiles.h"

#include <QLockFile>

TFolderLock::TFolderLock(const QString& folder)
    : file_(std::make_unique<QLockFile>(folder + "/.KVT_Program.lock")) {}

TFolderLock::~TFolderLock() = default;

bool TFolderLock::TryLock() {
    if (file_->tryLock(0))
        return true;
    QString application;
    file_->getLockInfo(&pid_, &host_, &application);
    return false;
}

QString FolderLanguageText(const QString& folder, int index) {
    const TProgramPaths paths(folder);
    TSettings settings;
    TSettingsFiles(paths).LoadProgramSettings(settings);
    const QString code = settings.Language;
    const auto lines = TLang::ReadLanguageFile(paths.LangFolder() + '/' + code + '/' + code + "ext.lng");
    if (lines && index < lines->size()) {
        const TLang::ParsedLine parsed = TLang::ParseLanguageLine(lines->at(index));
        if (parsed.kind == TLang::ParsedLine::Parsed && parsed.number == index)
            return parsed.text;
    }
    return BuiltIn::ExtraTexts().value(index);
}
