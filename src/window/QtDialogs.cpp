#include "QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

const char* const kTitle = "KVT_Program";

// The suffix of the proposed name ("KVT-Prog-1.kvt", "*.kvt"): what a name typed without one
// gets, as the program's file dialogs intend.
QString SuffixOf(const QString& fileName) {
    return QFileInfo(fileName).suffix();
}

QString RunFileDialog(QFileDialog::AcceptMode mode, const QString& folder, const QString& fileName,
                      const QString& title) {
    QFileDialog dialog(QApplication::activeWindow());
    // Titled by what it does, after the program's name.
    dialog.setWindowTitle(title.isEmpty() ? QString(kTitle) : QString(kTitle) + " - " + title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDirectory(folder);
    dialog.setDefaultSuffix(SuffixOf(fileName));
    // A name with wildcards ("*.kvt") is what the dialog lists, not a file to select. The save
    // dialog lists the files of the proposed name's kind only (a program's companions stay out)
    // and asks before an existing file is replaced (the default of a save dialog).
    if (fileName.contains('*')) {
        dialog.setNameFilter(fileName);
    } else {
        if (mode == QFileDialog::AcceptSave && !SuffixOf(fileName).isEmpty())
            dialog.setNameFilter("*." + SuffixOf(fileName));
        dialog.selectFile(fileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

} // namespace

void TQtDialogs::Terminate() {
    terminating_ = true;
    // Every modal box and file dialog standing returns (each runs an event loop of its own).
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog && dialog->isVisible() && dialog->isModal())
            dialog->reject();
    }
}

void TQtDialogs::ShowMessage(const QString& text) {
    if (terminating_)
        return;
    QMessageBox::information(QApplication::activeWindow(), kTitle, text);
}

void TQtDialogs::ShowError(const QString& text) {
    if (terminating_)
        return;
    QMessageBox::warning(QApplication::activeWindow(), kTitle, text);
}

bool TQtDialogs::Confirm(const QString& text, bool defaultAnswer, bool yesWhenEnding) {
    const bool whenEnding = defaultAnswer || yesWhenEnding;
    if (terminating_)
        return whenEnding;
    const auto answer = QMessageBox::question(QApplication::activeWindow(), kTitle, text,
                                              QMessageBox::Ok | QMessageBox::Cancel,
                                              defaultAnswer ? QMessageBox::Ok : QMessageBox::Cancel);
    // Closed by an end of the program: its answer for an end, not the Cancel of a closed box.
    return terminating_ ? whenEnding : answer == QMessageBox::Ok;
}

IDialogs::SaveChoice TQtDialogs::AskSave(const QString& text) {
    if (terminating_)
        return SaveChoice::Discard;
    const auto answer = QMessageBox::question(QApplication::activeWindow(), kTitle, text,
                                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                              QMessageBox::Cancel);
    if (terminating_)
        return SaveChoice::Discard;
    return answer == QMessageBox::Save      ? SaveChoice::Save
           : answer == QMessageBox::Discard ? SaveChoice::Discard
                                            : SaveChoice::Cancel;
}

QString TQtDialogs::OpenFileName(const QString& folder, const QString& fileName, const QString& title) {
    return terminating_ ? QString() : RunFileDialog(QFileDialog::AcceptOpen, folder, fileName, title);
}

QString TQtDialogs::SaveFileName(const QString& folder, const QString& fileName, const QString& title) {
    return terminating_ ? QString() : RunFileDialog(QFileDialog::AcceptSave, folder, fileName, title);
}
