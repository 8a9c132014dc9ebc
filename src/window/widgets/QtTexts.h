#pragma once

#include <QObject>
#include <QString>

class QTranslator;

// Qt's own texts (file dialogs, the buttons of message boxes) in the language in use, from the
// translations installed with Qt; a language Qt has none for leaves them in English.
class TQtTexts : public QObject {
public:
    using QObject::QObject;
    ~TQtTexts() override;
    // Switches to the language `code` ("en", "ru", ...); nothing happens when it is in use.
    void Use(const QString& code);

private:
    void Remove();
    QTranslator* installed_ = nullptr;
    QString code_ = "en";
};
