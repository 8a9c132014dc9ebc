#include "UnitCommonDatas.h"

#include "CommonDatasView.h"
#include "Decimal.h"

TCommonDatas::TCommonDatas(IStateView& view) : view_(view) {
    // The settings defaults and the language texts are the member initialisers.
    SetScale(1.0);
    SetRounding(0);
}

TCommonDatas::TReactions TCommonDatas::Reactions() const {
    return {er6Reaction_, er9Reaction_, autoRecovery_, recoveryBreakComm_, recoveryClearMarks_};
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

QString TCommonDatas::ScaleAsText() const {
    return Decimal::FormatGeneral(settings_.Scale);
}

QString TCommonDatas::ScaleGroupCaption() const {
    return texts_.ScaleText + ":  1 " + settings_.UnitsName + " = " + ScaleAsText() + " " + texts_.StepsText;
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

void TCommonDatas::SetRounding(quint8 mode) {
    if (mode > 2)
        mode = 0;
    settings_.RoundingMode = mode;
    switch (mode) {
    case 0:
        view_.ShowRounding(texts_.RoundDownText);
        break;
    case 1:
        view_.ShowRounding(texts_.RoundUpText);
        break;
    default:
        view_.ShowRounding(texts_.RoundMathText);
        break;
    }
}
