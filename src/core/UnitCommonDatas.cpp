#include "UnitCommonDatas.h"

#include "CommonDatasView.h"
#include "Decimal.h"

TCommonDatas::TCommonDatas(ICommonDatasView& view) : view_(view) {
    ProgramRunning = false;
    for (int n = 1; n <= ChannelCount; ++n)
        SetCoordRunning(n, false);
    // The settings defaults and the language texts are the member initialisers.
    SetScale(1.0);
    SetRounding(0);
    SetCoordsActive(true, false, false);
    SetCoordStates(Standby, Standby, Standby);
}

void TCommonDatas::SetSettings(const TSettings& settings) {
    settings_ = settings;
    replyTime_ = settings.ReplyTime;
    er6Reaction_ = settings.Er6Reaction;
    er9Reaction_ = settings.Er9Reaction;
    autoRecovery_ = settings.AutoRecovery;
    recoveryBreakComm_ = settings.RecoveryBreakComm;
    recoveryClearMarks_ = settings.RecoveryClearMarks;
    SetRounding(settings.RoundingMode);
    SetScale(settings.Scale);
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
    QString caption = Texts.CoordinatesText;
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
        if (settings_.ControlMode == SimpleMode)
            EnableSimpleButtons(true, true, true, true);
    }
    if (state == Executing)
        AddLogLine(Texts.CoordText + QString(" %1: ").arg(channel) + Texts.ExecutingText);
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
    return Decimal::FormatGeneral(settings_.Scale);
}

QString TCommonDatas::ScaleGroupCaption() const {
    return Texts.ScaleText + ":  1 " + settings_.UnitsName + " = " + ScaleAsText() + " " + Texts.StepsText;
}

void TCommonDatas::SetScale(double x) {
    settings_.Scale = (x == 0) ? 1.0 : x;
    view_.ShowScale(ScaleAsText(), ScaleGroupCaption(), "1 " + settings_.UnitsName + " =");
}

void TCommonDatas::SetUnitsMode(quint8 mode) {
    settings_.UnitsMode = mode;
}

void TCommonDatas::SetControlMode(quint8 mode) {
    settings_.ControlMode = mode;
}

void TCommonDatas::SetDirectControl(bool on) {
    settings_.DirectControl = on;
}

void TCommonDatas::SetLanguage(const QString& code) {
    settings_.Language = code;
}

void TCommonDatas::AddLogLine(const QString& text, bool red) {
    view_.AddLogLine(text, red);
}

void TCommonDatas::AddRecordingLine(const QString& text) {
    view_.AddRecordingLine(text);
}

void TCommonDatas::SetRounding(quint8 mode) {
    settings_.RoundingMode = mode;
    switch (mode) {
    case 0:
        view_.ShowRounding(Texts.RoundDownText);
        break;
    case 1:
        view_.ShowRounding(Texts.RoundUpText);
        break;
    case 2:
        view_.ShowRounding(Texts.RoundMathText);
        break;
    default:
        break;
    }
}
