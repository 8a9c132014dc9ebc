#pragma once

#include "core/CommonDatasView.h"

#include <QStringList>

#include <array>

// A stand-in for the main window as the shared state sees it: it records what the setters show.
class FakeView : public ICommonDatasView {
public:
    void PaintIndicator(int channel, const QColor& colour) override { indicators.at(channel) = colour; }
    void ShowCoordinatesActive(const QString& caption, bool a, bool b, bool c) override {
        coordinatesCaption = caption;
        boxes = {a, b, c};
    }
    void EnableSimpleButtons(bool pusk, bool stop, bool start, bool load) override {
        simpleButtons = {pusk, stop, start, load};
    }
    bool SimpleModeSelected() const override { return simpleMode; }
    void ShowScale(const QString& scale, const QString& group, const QString& unit) override {
        scaleText = scale;
        groupCaption = group;
        unitLabel = unit;
    }
    void ShowRounding(const QString& text) override { roundingText = text; }
    void ScaleChanged() override { ++scaleChanges; }
    void AddLogLine(const QString& text, bool red) override {
        log.append(text);
        redLines.append(red);
    }

    std::array<QColor, 4> indicators{};
    QString coordinatesCaption;
    std::array<bool, 3> boxes{};
    std::array<bool, 4> simpleButtons{};
    bool simpleMode = true;
    QString scaleText, groupCaption, unitLabel, roundingText;
    int scaleChanges = 0;
    QStringList log;
    QList<bool> redLines;
};
