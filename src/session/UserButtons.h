#pragma once

#include "settings/UserButtonsFile.h"

#include <QObject>

class TKVTCommands;
class TLang;
class TProgramPaths;
class TSending;

// The operator's own buttons: named sequences of controller lines, kept in Data/user-buttons.txt,
// each sent as a list is sent (answers, progress, "Stop sending", the summary) without touching
// the command list. The file is read once, when the session is made; it is written only when
// the operator saves the buttons.
class TUserButtons : public QObject {
    Q_OBJECT
public:
    TUserButtons(const TProgramPaths& paths, const TLang& lang, const TKVTCommands& commands,
                 TSending& sending);

    const QList<TUserButton>& Buttons() const { return buttons_; }
    const TLang& Lang() const { return lang_; }
    // The damage the file had when it was read, in the operator's words (empty: none).
    QString Problem() const { return problem_; }
    // The same without what the window does about it (for a program without one).
    QString Damage() const { return damage_; }
    QString FileName() const { return fileName_; }
    // The button named `name` (case does not matter), or -1.
    int IndexOf(const QString& name) const;
    // Why `buttons` may not be kept, or empty.
    QString Check(const QList<TUserButton>& buttons) const;
    // Checks, writes and takes `buttons`; why not, or empty. Changed tells the buttons' views.
    // A session that may not write its folder (a second start on a held folder) refuses.
    QString Save(const QList<TUserButton>& buttons);
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // Sends button `index`: empty when it started, else why it did not (a line the controller
    // would not take, a list still being sent).
    QString Run(int index);

signals:
    void Changed();
    // Button `name` is about to send its lines.
    void Ran(const QString& name);

private:
    const TLang& lang_;
    const TKVTCommands& commands_;
    TSending& sending_;
    QString fileName_;
    QList<TUserButton> buttons_;
    QString problem_, damage_;
    bool readOnly_ = false;
};
