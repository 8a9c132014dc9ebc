#pragma once

#include <QString>

#include <stdexcept>

// An error that reaches the application's general error report: a message box with its text.
// The handlers that let such an error through catch it at their edge and call ReportError, so
// that nothing is thrown into the event loop.
class EAppError : public std::runtime_error {
public:
    explicit EAppError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& Text() const { return text_; }

private:
    QString text_;
};

// A file that cannot be opened, created, read or written.
class EFileError : public EAppError {
public:
    using EAppError::EAppError;
    // "Cannot open file "<name>". <reason>"
    static EFileError CannotOpen(const QString& fileName, const QString& reason);
    // "Cannot create file "<name>". <reason>"
    static EFileError CannotCreate(const QString& fileName, const QString& reason);
};

// A text that is not the number it has to be.
class EConvertError : public EAppError {
public:
    using EAppError::EAppError;
    // "'<text>' is not a valid integer value"
    static EConvertError NotAnInteger(const QString& text);
};

// The application's general error report: shows the error's text in a message box.
void ReportError(const EAppError& error);
