#include "QtTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

TQtTexts::~TQtTexts() {
    Remove();
}

void TQtTexts::Use(const QString& code) {
    if (code == code_)
        return;
    code_ = code;
    Remove();
    auto translator = std::make_unique<QTranslator>();
    if (code != "en" && translator->load("qt_" + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        installed_ = translator.release();
        QCoreApplication::installTranslator(installed_);
    }
}

void TQtTexts::Remove() {
    if (!installed_)
        return;
    QCoreApplication::removeTranslator(installed_);
    delete installed_;
    installed_ = nullptr;
}
