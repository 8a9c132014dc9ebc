#include "UnitCommonDatas.h"

#include "CommonDatasView.h"
#include "Decimal.h"

TCommonDatas::TCommonDatas(ICommonDatasView& view) : view_(view) {
    ProgramRunning = false;
    for (int n = 1; n <= ChannelCount; ++n)
        SetCoordRunning(n, false);
    // The settings defaults and the language texts are the member initialisers above.
    SetScale(1.0);
    SetRounding(0);
    SetCoordsActive(true, false, false);
    SetCoordStates(Standby, Standby, Standby);
}

QString TCommonDatas::LastReply() const {
    std::lock_guard lock(textMutex_);
    return lastReply_;
}

void TCommonDatas::SetLastReply(const QString& text) {
    std::lock_guard lock(textMutex_);
    lastReply_ = text;
}

QString TCommonDatas::LastError() const {
    std::lock_guard lock(textMutex_);
    return lastError_;
}

void TCommonDatas::SetLastError(const QString& text) {
    std::lock_guard lock(textMutex_);
    lastError_ = text;
}

QString TCommonDatas::ReadBackText() const {
    std::lock_guard lock(textMutex_);
    return readBackText_;
}

void TCommonDatas::SetReadBackText(const QString& text) {
    std::lock_guard lock(textMutex_);
    readBackText_ = text;
}

void TCommonDatas::AppendReadBackText(const QString& token) {
    std::lock_guard lock(textMutex_);
    readBackText_ += token;
}

void TCommonDatas::SetCoordActive(int channel, bool value) {
    if (!ValidChannel(channel))
        return;
    CoordActive[channel] = value;
    ShowCoordsActive();
}

void TCommonDatas::SetCoordsActive(bool a, bool b, bool c) {
    SetCoordActive(1, a);
    SetCoordActive(2, b);
    SetCoordActive(3, c);
    ShowCoordsActive();
}

void TCommonDatas::ShowCoordsActive() {
    QString caption = CoordinatesText;
    for (int n = 1; n <= ChannelCount; ++n) {
        if (CoordActive[n])
            caption += QString::number(n) + "  ";
    }
    view_.ShowCoordinatesActive(caption, CoordActive[1], CoordActive[2], CoordActive[3]);
}

void TCommonDatas::SetCoordState(int channel, quint8 state) {
    if (!ValidChannel(channel))
        return;
    CoordState[channel] = state;
    if (state == Communication) {
        CommMode = true;
        EnableSimpleButtons(false, false, false, false);
    } else {
        CommMode = false;
        if (ControlMode == SimpleMode)
            EnableSimpleButtons(true, true, true, true);
    }
    if (state == Executing)
        AddLogLine(CoordText + QString(" %1: ").arg(channel) + ExecutingText);
    PaintIndicators();
}

void TCommonDatas::SetCoordStates(quint8 a, quint8 b, quint8 c) {
    SetCoordState(1, a);
    SetCoordState(2, b);
    SetCoordState(3, c);
}

void TCommonDatas::PaintIndicators() {
    for (int n = 1; n <= ChannelCount; ++n) {
        if (CoordState[n] < IndicatorColours.size())
            view_.PaintIndicator(n, IndicatorColours[CoordState[n]]);
    }
}

void TCommonDatas::EnableSimpleButtons(bool a, bool b, bool c, bool d) {
    view_.EnableSimpleButtons(a, b, c, d);
}

void TCommonDatas::SetCoordRunning(int channel, bool value) {
    if (!ValidChannel(channel))
        return;
    CoordRunning[channel] = value;
    ProgramRunning = CoordRunning[1] || CoordRunning[2] || CoordRunning[3];
}

QString TCommonDatas::ScaleAsText() const {
    return Decimal::FormatGeneral(Scale);
}

QString TCommonDatas::ScaleGroupCaption() const {
    return ScaleText + ":  1 " + UnitsName + " = " + ScaleAsText() + " " + StepsText;
}

void TCommonDatas::SetScale(double x) {
    Scale = (x == 0) ? 1.0 : x;
    view_.ShowScale(ScaleAsText(), ScaleGroupCaption(), "1 " + UnitsName + " =");
    emit UnitsChanged();
}

void TCommonDatas::SetUnitsMode(quint8 mode) {
    UnitsMode = mode;
    emit UnitsChanged();
}

void TCommonDatas::AddLogLine(const QString& text, bool red) {
    view_.AddLogLine(text, red);
}

void TCommonDatas::AddRecordingLine(const QString& text) {
    view_.AddRecordingLine(text);
}

void TCommonDatas::SetRounding(quint8 mode) {
    RoundingMode = mode;
    switch (mode) {
    case 0:
        view_.ShowRounding(RoundDownText);
        break;
    case 1:
        view_.ShowRounding(RoundUpText);
        break;
    case 2:
        view_.ShowRounding(RoundMathText);
        break;
    default:
        break;
    }
}
