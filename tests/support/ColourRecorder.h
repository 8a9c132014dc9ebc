#pragma once

#include <QColor>
#include <QList>
#include <QObject>

// Records every colour an indicator takes, starting with the one it shows now, so that a test
// can check a state that lasts only a moment (yellow while a program is written) after the fact
// instead of trying to catch it while it lasts.
template <typename Shape> class ColourRecorder {
public:
    explicit ColourRecorder(Shape* shape) : shape_(shape) {
        colours_.append(shape->Colour());
        connection_ = QObject::connect(shape, &Shape::ColourChanged,
                                       [this](const QColor& colour) { colours_.append(colour); });
    }
    ~ColourRecorder() { QObject::disconnect(connection_); }
    ColourRecorder(const ColourRecorder&) = delete;
    ColourRecorder& operator=(const ColourRecorder&) = delete;

    const QList<QColor>& Colours() const { return colours_; }
    QColor Last() const { return colours_.last(); }
    // Whether the indicator took `colour` at some time after recording began.
    bool Took(const QColor& colour) const { return colours_.mid(1).contains(colour); }

private:
    Shape* shape_;
    QList<QColor> colours_;
    QMetaObject::Connection connection_;
};
