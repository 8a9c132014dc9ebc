#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class TKVTCommands;
class TLang;

// A button of the operator's own: a name and the controller lines it sends, as typed (lines
// beginning with '#' are comments, kept with the button).
struct TUserButton {
    QString name;
    QStringList lines;
    bool operator==(const TUserButton&) const = default;

    // The lines it sends, as the controller takes them ("sd 300" as "SD300"), comments left out.
    QStringList Commands() const;
};

// Data/user-buttons.txt: the user buttons in a file a person can read and write (UTF-8):
//
//   # comment lines before the first button are the file's own
//   [Home all]
//   HM
//   # a line of the button's own
//   SD400
//
// "[name]" begins a button; every line after it, up to the next "[", is one of its lines.
class TUserButtonsFile {
public:
    static constexpr int MaxButtons = 30;
    static constexpr int MaxLines = 500; // of one button
    static constexpr int MaxNameLength = 40;
    static constexpr qint64 MaxBytes = 256 * 1024;

    // What a read found: the buttons before the first damage, and the damage (its line, 1-based,
    // 0 for the file as a whole; its reason in the operator's words). A missing file is no damage.
    struct TRead {
        QList<TUserButton> buttons;
        int damagedLine = -1; // -1: none
        QString damage;
    };
    static TRead Read(const QString& fileName, const TLang& lang);
    // Writes the buttons atomically, creating Data when missing; throws EFileError.
    static void Write(const QString& fileName, const QList<TUserButton>& buttons);
    // Why the buttons may not be kept (the first reason, in the operator's words), or empty: a
    // name missing, too long or given twice, a button with no command or too many, a line the
    // controller would not take (read in steps, as it is sent).
    static QString Check(const QList<TUserButton>& buttons, const TKVTCommands& commands, const TLang& lang);
};
