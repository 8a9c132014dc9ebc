#pragma once

#include "lang/CaptionTarget.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <span>

class TCommandHistory;
class TCommonDatas;
class TExtraSettingsFile;
class TKVTCommands;
class TLang;
class TProgramPaths;
class TSessionLogs;
class TSettingsFiles;
struct TSettings;

// The operator's settings and language: the settings files read once, when the session is made
// (prp.dat, portp.dat, erp.dat and extra-settings.txt; what could not be read is named), the
// values the dialogs hand back, the language with its captions and the command table in its
// words, the recent files and the folder the file dialogs open in, and the settings files
// written at the close.
class TOperatorSettings : public QObject {
    Q_OBJECT
public:
    TOperatorSettings(const TProgramPaths& paths, TCommonDatas& datas, TLang& lang, TKVTCommands& commands,
                      TSessionLogs& logs);
    ~TOperatorSettings() override;

    // What the settings are now, and the language they speak.
    const TSettings& Settings() const;
    const TLang& Lang() const { return lang_; }
    const TKVTCommands& Commands() const { return commands_; }

    // The settings files that could not be read whole when the session was made (their values
    // before the bad line taken, the rest left at their defaults); extra-settings.txt apart, as
    // it has a message of its own.
    QStringList DamagedFiles() const { return damaged_; }
    QString DamagedExtraFile() const { return extraDamaged_; }

    // The values the dialogs changed. The modes, the scale, the port, the language and Direct
    // Control have operations of their own and keep their values here; the scale and rounding
    // texts, the logs' times and the command table follow the rest at once.
    void Apply(const TSettings& settings);
    // Switches to the language `code`: the messages, the extra texts and the command table (the
    // windows then take their own captions). A language whose files can't be read changes
    // nothing: the path of the first such file is returned (empty on success).
    QString ChangeLanguage(const QString& code);
    // The main window's texts of the language in use, and a dialog's; the message-box texts of
    // the language files that could not be read are returned.
    QStringList ApplyMainLanguage(ICaptionTarget& window);
    QStringList ApplyDialogLanguage(ICaptionTarget& dialog, std::span<const TCaptionSlot> captionSlots,
                                    int highestEntry);
    // The message-box texts of the language files that could not be read since the last call.
    QStringList TakeLanguageProblems();
    // Fills the command table from the messages, the scale, the unit name and the units mode,
    // and tells whatever shows values in the operator's units or words.
    void RebuildCommandTable();

    // A program file loaded or saved (`programFile`), or a file imported or exported: a program
    // file goes first among the recent ones, and the file's folder is where the dialogs open.
    void NoteFileUsed(const QString& file, bool programFile);
    void ForgetRecentFile(const QString& file);
    // Where the file dialogs open: the folder last used while it is there, else Users.
    QString FileDialogFolder() const;

    // The lines typed on the command line, kept with the program's settings.
    TCommandHistory& History() { return *history_; }

    // portp.dat, prp.dat, erp.dat, each when its flag is on. A language whose files were not
    // found is not stored. Throws EFileError.
    void WriteOnClose(quint32 portNumber) const;
    // The program's own settings files, after the described ones: extra-settings.txt, and the
    // command line's history when a line was typed (with "Save program settings"). What could not
    // be written is returned, in the operator's words; it stops nothing else.
    QStringList WriteOwnFiles() const;

signals:
    // The units, the scale, the language or the settings changed.
    void ShownValuesChanged();

private:
    const TProgramPaths& paths_;
    TCommonDatas& datas_;
    TLang& lang_;
    TKVTCommands& commands_;
    TSessionLogs& logs_;
    std::unique_ptr<TSettingsFiles> files_;
    std::unique_ptr<TExtraSettingsFile> extraFile_;
    std::unique_ptr<TCommandHistory> history_;
    QStringList damaged_;
    QString extraDamaged_;
    bool languageFound_ = true; // the three files of the language in use could be read
};
