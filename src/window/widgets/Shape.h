#pragma once

#include <QColor>
#include <QWidget>

// A small filled indicator (the channel state lamps).
class TShape : public QWidget {
    Q_OBJECT
public:
    TShape(const QString& objectName, const QColor& colour, QWidget* parent = nullptr);

    QColor Colour() const { return colour_; }
    void SetColour(const QColor& colour);

signals:
    // The colour changed (not emitted when the same colour is set again).
    void ColourChanged(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
};
