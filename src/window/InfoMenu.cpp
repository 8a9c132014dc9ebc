#include "InfoMenu.h"

#include "HelpWindow.h"
#include "ShortcutsWindow.h"
#include "core/Dialogs.h"
#include "core/ProgramPaths.h"
#include "core/Settings.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "session/OperatorSettings.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace {
// Where the documents are: an installation's share/doc, else the sources of a build.
QString DocumentsFolder() {
    const QString installed = QCoreApplication::applicationDirPath() + "/../share/doc/kvt-program";
    return QFileInfo(installed).isDir() ? QDir::cleanPath(installed)
                                        : QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../..");
}
} // namespace

TInfoMenu::TInfoMenu(QMenu* info, TOperatorSettings& options, QWidget* window)
    : QObject(window), options_(options), window_(window) {
    info->addSeparator();
    mmUserGuide = info->addAction(QString());
    mmShortcuts = info->addAction(QString());
    mmAbout = info->addAction(QString());
    mmUserGuide->setObjectName("mmUserGuide");
    mmShortcuts->setObjectName("mmShortcuts");
    mmAbout->setObjectName("mmAbout");
    mmUserGuide->setShortcut(QKeySequence(Qt::Key_F1));
    connect(mmUserGuide, &QAction::triggered, this, &TInfoMenu::OpenUserGuide);
    connect(mmShortcuts, &QAction::triggered, this, &TInfoMenu::ShowShortcuts);
    connect(mmAbout, &QAction::triggered, this, &TInfoMenu::ShowAbout);
    connect(&options_, &TOperatorSettings::ShownValuesChanged, this, &TInfoMenu::ApplyTexts);
    ApplyTexts();
}

void TInfoMenu::ApplyTexts() {
    const TLang& lang = options_.Lang();
    for (const auto& [action, text] :
         {std::pair{mmUserGuide, Ext::InfoUserGuide}, std::pair{mmShortcuts, Ext::InfoShortcuts},
          std::pair{mmAbout, Ext::InfoAbout}})
        action->setText(lang.ExtraText(text));
}

void TInfoMenu::OpenUserGuide() {
    const QString topic = THelpWindow::TopicFor(QApplication::focusWidget());
    const QString language = options_.Settings().Language;
    if (!help_ || helpLanguage_ != language) {
        delete help_;
        help_ = new THelpWindow(options_.Lang(), options_.Lang().Paths().LangFolder(), language, window_);
        helpLanguage_ = language;
    }
    help_->ShowTopic(topic);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void TInfoMenu::ShowShortcuts() {
    auto* shortcuts = new TShortcutsWindow(options_.Lang(), window_);
    shortcuts->show();
}

void TInfoMenu::ShowAbout() {
    const QString folder = DocumentsFolder();
    const QString licence =
        QFileInfo(folder + "/copyright").isFile() ? folder + "/copyright" : folder + "/LICENSE";
    Dialogs().ShowMessage(options_.Lang()
                              .ExtraText(Ext::AboutLicence)
                              .arg(QCoreApplication::applicationVersion(), licence, folder));
}
