#include "QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {
const char* const kTitle = "KVT_Program";
} // namespace

void TQtDialogs::ShowMessage(const QString& text) {
    QMessageBox::information(QApplication::activeWindow(), kTitle, text);
}

bool TQtDialogs::Confirm(const QString& text) {
    return QMessageBox::question(QApplication::activeWindow(), kTitle, text,
                                 QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

QString TQtDialogs::OpenFileName(const QString& folder, const QString& fileName) {
    // A name with wildcards ("*.kvt") is what the dialog lists, not a file to select.
    if (fileName.contains('*'))
        return QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(), folder, fileName);
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(), folder + '/' + fileName);
}

QString TQtDialogs::SaveFileName(const QString& folder, const QString& fileName) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(), folder + '/' + fileName);
}
