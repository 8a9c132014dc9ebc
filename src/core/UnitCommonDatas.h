#pragma once

#include "CommonDatasView.h"
#include "SettingsView.h"

#include <QObject>
#include <QString>

#include <atomic>

// The shared run-time state of the described program, now the operator's part of it: the
// operator's settings (one TSettings value) and the language texts its setters write into the
// main window (the scale and its rounding). Every setter stores its value and brings the window
// into line at once. A controller's own state (its channels, their run flags, the last reply)
// is its own (TChannelState, TReplyHandler), one per controller.
//
// Setters run on the main thread. The sending, read-back and port threads read the reply time,
// the error reactions and the recovery flags (atomic copies of the settings).
class TCommonDatas : public QObject, public ISettingsView {
    Q_OBJECT
public:
    enum ControlModes : quint8 { SimpleMode = TSettings::SimpleMode, ExtendedMode = TSettings::ExtendedMode };
    enum UnitsModes : quint8 { StepsUnits = TSettings::StepsUnits, OtherUnits = TSettings::OtherUnits };

    using TTexts = ISettingsView::TTexts;
    using TReactions = ISettingsView::TReactions;

    explicit TCommonDatas(IStateView& view);
    TCommonDatas(const TCommonDatas&) = delete;
    TCommonDatas& operator=(const TCommonDatas&) = delete;

    const QString VersionText = "ver.4.0.1";

    // --- the operator's settings ---
    const TSettings& Settings() const override { return settings_; }
    // Takes every value; the scale and rounding texts follow (through SetScale and SetRounding).
    void SetSettings(const TSettings& settings);
    // The recent program files and the folder the file dialogs open in (nothing is shown).
    void SetFileHistory(const QStringList& recentFiles, const QString& lastFolder) {
        settings_.RecentFiles = recentFiles;
        settings_.LastFolder = lastFolder;
    }
    // The values the worker threads read.
    quint32 ReplyTime() const override { return replyTime_; }
    TReactions Reactions() const override;

    // --- the language texts ---
    const TTexts& Texts() const override { return texts_; }
    void SetTexts(const TTexts& texts) { texts_ = texts; }

    // --- setters ---
    void SetScale(double x);
    // A mode other than 0, 1 or 2 is taken as 0 (decreasing).
    void SetRounding(quint8 mode);
    void SetUnitsMode(quint8 mode);
    void SetControlMode(quint8 mode);
    void SetDirectControl(bool on);
    void SetLanguage(const QString& code);

    // The scale in the general decimal form ("1", "2.5").
    QString ScaleAsText() const;
    // Caption of the scale group box: "Scale:  1 Step = 1 steps" with the default texts.
    QString ScaleGroupCaption() const;

private:
    IStateView& view_;
    TSettings settings_;
    TTexts texts_;
    std::atomic<quint32> replyTime_{300};
    std::atomic<quint8> er6Reaction_{1};
    std::atomic<quint8> er9Reaction_{1};
    std::atomic<bool> autoRecovery_{true};
    std::atomic<bool> recoveryBreakComm_{true};
    std::atomic<bool> recoveryClearMarks_{true};
};
