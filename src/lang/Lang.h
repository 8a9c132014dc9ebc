#pragma once

#include "CaptionTarget.h"

#include <QString>
#include <QStringList>

#include <optional>

#include <span>

class TProgramPaths;
class TCommonDatas;
class IOperationLog;

// The language table: the window texts (Texts), reloaded from a language file each time a window
// applies its language, the messages (Messages) and the extra texts (Extra), both with English
// defaults built in. The files of a language with the code <c> lie in lang/<c>/: <c>f1.lng
// (main window), <c>addf.lng (dialogs), <c>msg.lng (messages) and, optionally, <c>ext.lng (the
// texts this program shows beyond the others; a language without it shows them in English).
//
// Line i of such a file sets entry i: "{i} text". The marker runs up to the first '}', its digits
// are the number, one space after it is dropped, and the rest is the text as it stands. The first
// line is a title and is never read. A file that cannot be read is noted, not shown: the caller
// takes the notes (TakeFileProblems) and shows them.
class TLang {
public:
    TLang(const TProgramPaths& paths, TCommonDatas& datas, IOperationLog& log);
    // The program folder the language files are read from.
    const TProgramPaths& Paths() const { return paths_; }

    QStringList Texts;
    QStringList Messages;
    QStringList Extra;

    // Entry i of Messages, or an empty text when the list has no such entry.
    QString Message(int index) const {
        return index >= 0 && index < Messages.size() ? Messages[index] : QString();
    }
    QString Text(int index) const { return index >= 0 && index < Texts.size() ? Texts[index] : QString(); }
    // Entry i of Extra (ExtraIds.h).
    QString ExtraText(int index) const {
        return index >= 0 && index < Extra.size() ? Extra[index] : QString();
    }

    // Loads "f1" (main window) or "addf" (dialogs) into Texts; false when a numbered line was
    // rejected.
    bool LoadTexts(const QString& name);
    // Loads the message file into Messages; entries it does not set keep their text.
    bool LoadMessages();
    // Loads the extra texts of the language in use over the English ones. A language without
    // the file, or a line that sets nothing, leaves the English text, without any message.
    void LoadExtraTexts();
    // Sets the main window's captions from Texts (which must hold the "f1" texts) and copies the
    // language texts into the shared state.
    void ApplyMainTexts(ICaptionTarget& window);
    // LoadTexts("f1"), ApplyMainTexts, LoadMessages, LoadExtraTexts.
    void ReloadLanguage(ICaptionTarget& window);
    // Appends "*One of language files is damaged." in red to the operation log.
    void ReportDamagedLanguage();
    // The message box texts of the files that could not be read since the last call (Message 1,
    // the path, Message 2), in order: the caller shows them.
    QStringList TakeFileProblems();

    // The dialog side of applying a language: loads the "addf" texts, reports a damaged file, and
    // returns whether the dialog may take its captions from Texts. False when the list is too
    // short for `highestEntry`: the damage is reported and the dialog keeps its design captions.
    bool LoadDialogTexts(int highestEntry);
    // LoadDialogTexts, then each slot's caption from Texts.
    void ApplyDialogLanguage(ICaptionTarget& dialog, std::span<const TCaptionSlot> targets, int highestEntry);

    struct ParsedLine {
        enum Kind { Parsed, Rejected, BadMarker };
        Kind kind = Rejected;
        qint32 number = 0;
        QString text;
    };
    // Splits one line into its number and text. Rejected: no '}', 3 characters or fewer, or
    // longer than MaxLineLength. BadMarker: a marker without digits, or with a number beyond the
    // 32-bit range.
    static ParsedLine ParseLanguageLine(const QString& line);

    // The main window's controls that take a window-text entry as they stand (the composed
    // captions come on top of these).
    static std::span<const TCaptionSlot> MainWindowSlots();

    // Whether `code` can name a language folder: letters, digits, '-' and '_', 1 to 16 of them
    // (a code with a slash or a stray byte names no folder of lang/).
    static bool ValidCode(const QString& code);
    // Whether the three files every language has can be read for `code`.
    bool LanguageFound(const QString& code) const;
    // The path of a numbered file of the language in use: "f1", "addf", "msg" or "ext".
    QString LanguageFile(const QString& part) const;
    // The same for the language `code`.
    QString LanguageFileOf(const QString& code, const QString& part) const;
    // The list of installed languages, lang/lang.lng.
    QString LanguageListFile() const;

    // Reads a language file as lines. Empty when the file is missing, unreadable, empty,
    // binary or too large: the caller then shows the file message box.
    static std::optional<QStringList> ReadLanguageFile(const QString& path);

    // Longest line that may set an entry, and largest language file read.
    static constexpr qsizetype MaxLineLength = 4096;
    static constexpr qint64 MaxFileSize = 1 << 20;

private:
    enum class FillMode { BlankFirst, KeepEntries };
    bool LoadInto(QStringList& list, const QString& path, const QString& key, FillMode fill);
    void NoteFileProblem(const QString& path);

    const TProgramPaths& paths_;
    TCommonDatas& datas_;
    IOperationLog& log_;
    QStringList fileProblems_;
};
