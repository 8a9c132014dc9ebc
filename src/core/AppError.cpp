#include "AppError.h"

#include "Dialogs.h"

EFileError EFileError::CannotOpen(const QString& fileName, const QString& reason) {
    return EFileError(QString("Cannot open file \"%1\". %2").arg(fileName, reason));
}

EFileError EFileError::CannotCreate(const QString& fileName, const QString& reason) {
    return EFileError(QString("Cannot create file \"%1\". %2").arg(fileName, reason));
}

EConvertError EConvertError::NotAnInteger(const QString& text) {
    return EConvertError(QString("'%1' is not a valid integer value").arg(text));
}

void ReportError(const EAppError& error) {
    Dialogs().ShowError(error.Text());
}
