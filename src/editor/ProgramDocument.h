#pragma once

#include <QString>
#include <QStringList>

// The operator's program as a document: the file it was last loaded from or saved to (none at
// first) and the list as it was then, so that a change since can be told (the title's mark, the
// question before it would be lost). A list that was never saved is changed once it holds
// anything.
class TProgramDocument {
public:
    struct TText {
        QStringList lines, descriptions;
        bool operator==(const TText&) const = default;
    };

    // The program was loaded from or saved to `file` as `text`.
    void SetSaved(const QString& file, const TText& text) {
        file_ = file;
        saved_ = text;
    }
    QString File() const { return file_; }
    // The file's name without its folder, or empty.
    QString ShownName() const;
    bool Modified(const TText& current) const { return !(current == saved_); }

    // `recent` with `file` put first: no file twice, at most five.
    static QStringList WithRecent(QStringList recent, const QString& file);

private:
    QString file_;
    TText saved_;
};
