#pragma once

#include <QString>

// The program folder and the fixed folders beside the executable in which every file lies:
// settings in Data, logs in Log, language files in lang, programs in Users, and port links in
// ports. The folder is passed in, so that tests run the whole program in a temporary folder.
class TProgramPaths {
public:
    explicit TProgramPaths(QString programFolder);

    const QString& ProgramFolder() const { return folder_; }
    QString DataFolder() const { return Sub("Data"); }
    QString LogFolder() const { return Sub("Log"); }
    QString LangFolder() const { return Sub("lang"); }
    QString UsersFolder() const { return Sub("Users"); }
    QString PortsFolder() const { return Sub("ports"); }

    QString DataFile(const QString& name) const { return DataFolder() + '/' + name; }
    QString LogFile(const QString& name) const { return LogFolder() + '/' + name; }

private:
    QString Sub(const char* name) const { return folder_ + '/' + QLatin1String(name); }
    QString folder_;
};
