#pragma once

#include <QString>
#include <QTemporaryDir>

// A complete program folder in a temporary directory: Data, Log, Users, ports, and lang with the
// shipped language files unless the test asks for none.
class ProgramFolder {
public:
    enum Languages { WithShippedLanguages, WithoutLanguages };
    explicit ProgramFolder(Languages languages = WithShippedLanguages);

    QString Path() const { return dir_.path(); }
    QString File(const QString& relative) const { return dir_.path() + '/' + relative; }
    // Writes a file (creating its folder) with the given bytes.
    void Write(const QString& relative, const QByteArray& bytes) const;
    void Remove(const QString& relative) const;
    // Links ports/COM<n> to `device`.
    void LinkPort(int number, const QString& device) const;

private:
    QTemporaryDir dir_;
};

// The shipped language folder of the source tree.
QString ShippedLanguageFolder();
