#pragma once

#include "core/CommonDatasView.h"

#include <QStringList>

#include <array>

// A stand-in for the main window as the shared state sees it: it records what the setters show.
class FakeView : public ICommonDatasView {
public:
    void PaintIndicator(int channel, TRgb colour) override {
        if (indicators.at(channel) != colour || history.at(channel).isEmpty())
            history.at(channel).append(colour);
        indicators.at(channel) = colour;
    }
    void ShowCoordinatesActive(const QString& caption, bool a, bool b, bool c) override {
        coordinatesCaption = caption;
        boxes = {a, b, c};
    }
    void EnableSimpleButtons(bool pusk, bool stop, bool start, bool load) override {
        simpleButtons = {pusk, stop, start, load};
    }
    void ShowScale(const QString& scale, const QString& group, const QString& unit) override {
        scaleText = scale;
        groupCaption = group;
        unitLabel = unit;
    }
    void ShowRounding(const QString& text) override { roundingText = text; }
    void AddLogLine(const QString& text, bool red) override {
        log.append(text);
        redLines.append(red);
    }
    void AddRecordingLine(const QString& text) override { recording.append(text); }

    std::array<TRgb, 4> indicators{};
    // Every colour each indicator took, in order, repeats left out.
    std::array<QList<TRgb>, 4> history{};
    QString coordinatesCaption;
    std::array<bool, 3> boxes{};
    std::array<bool, 4> simpleButtons{};
    QString scaleText, groupCaption, unitLabel, roundingText;
    QStringList log;
    QList<bool> redLines;
    QStringList recording;
};
