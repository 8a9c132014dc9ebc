#include "Dialogs.h"

#include <QDebug>

namespace {

// Used only until the program installs its dialogs: nothing is shown, nothing is chosen.
class TNoDialogs : public IDialogs {
public:
    void ShowMessage(const QString& text) override { qWarning().noquote() << text; }
    bool Confirm(const QString& text, bool, bool) override {
        qWarning().noquote() << text;
        return false;
    }
    SaveChoice AskSave(const QString& text) override {
        qWarning().noquote() << text;
        return SaveChoice::Cancel;
    }
    QString OpenFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(const QString&, const QString&, const QString&) override { return {}; }
};

IDialogs* installed = nullptr;

} // namespace

IDialogs& Dialogs() {
    static TNoDialogs none;
    return installed ? *installed : none;
}

IDialogs* SetDialogs(IDialogs* dialogs) {
    IDialogs* previous = installed;
    installed = dialogs;
    return previous;
}
