#pragma once

#include "AppError.h"

#include <QEvent>
#include <QObject>
#include <QString>

#include <exception>

// An application object (QCoreApplication or QApplication) whose event loop is the
// application's general error report: an error that a handler lets through reaches a message
// box (or, without a window, standard error), and the program goes on, instead of ending with
// an abort because something was thrown into the event loop.
template <typename Base> class TGuardedApplication : public Base {
public:
    using Base::Base;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return Base::notify(receiver, event);
        } catch (const EAppError& error) {
            ReportError(error);
        } catch (const std::exception& error) {
            ReportError(EAppError(QString::fromLocal8Bit(error.what())));
        }
        return false;
    }
};
