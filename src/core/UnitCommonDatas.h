#pragma once

#include "CommonDatasView.h"
#include "OperationLog.h"
#include "Settings.h"

#include <QObject>
#include <QString>

#include <array>
#include <atomic>
#include <mutex>

// The shared run-time state: the three controller channels ("coordinates" 1..3), the flags that
// follow program execution and the controller's communication mode, the last reply and error
// seen on the line, the operator's settings (one TSettings value), and the language texts its
// setters write into the main window. Every setter stores its value and brings the window into
// line at once.
//
// Setters run on the main thread. The sending, read-back and port threads read the reply
// time, the error reactions and the recovery flags (atomic copies of the settings), and
// LastError, ReadBackText (copied under a lock).
//
// The logic below the window reaches the window through this object only: the operation log
// and the recording list are passed on to the view as they are. Above the session it is seen
// read-only.
class TCommonDatas : public QObject, public IOperationLog {
    Q_OBJECT
public:
    static constexpr int ChannelCount = 3;
    // Per-channel arrays are indexed by the channel number 1..3; index 0 is unused.
    template <typename T> using PerChannel = std::array<T, ChannelCount + 1>;

    enum CoordStates : quint8 { Standby = 0, Executing = 1, Communication = 2, Paused = 3 };
    enum ControlModes : quint8 { SimpleMode = TSettings::SimpleMode, ExtendedMode = TSettings::ExtendedMode };
    enum UnitsModes : quint8 { StepsUnits = TSettings::StepsUnits, OtherUnits = TSettings::OtherUnits };

    // The language texts the setters compose captions of; replaced when a language is applied.
    struct TTexts {
        QString CoordinatesText = "Coordinates:  ";
        QString CoordText = "Coord";
        QString ExecutingText = "program executing";
        QString ScaleText = "Scale";
        QString StepsText = "steps";
        QString RoundDownText = "Decreasing rounding";
        QString RoundUpText = "Increasing rounding";
        QString RoundMathText = "Mathematic rounding";
    };

    explicit TCommonDatas(ICommonDatasView& view);
    TCommonDatas(const TCommonDatas&) = delete;
    TCommonDatas& operator=(const TCommonDatas&) = delete;

    // --- the operator's settings ---
    const TSettings& Settings() const { return settings_; }
    // Takes every value; the scale and rounding texts follow (through SetScale and SetRounding).
    void SetSettings(const TSettings& settings);
    // The recent program files and the folder the file dialogs open in (nothing is shown).
    void SetFileHistory(const QStringList& recentFiles, const QString& lastFolder) {
        settings_.RecentFiles = recentFiles;
        settings_.LastFolder = lastFolder;
    }
    // The values the worker threads read.
    quint32 ReplyTime() const { return replyTime_; }
    quint8 Er6Reaction() const { return er6Reaction_; }
    quint8 Er9Reaction() const { return er9Reaction_; }
    bool AutoRecovery() const { return autoRecovery_; }
    bool RecoveryBreakComm() const { return recoveryBreakComm_; }
    bool RecoveryClearMarks() const { return recoveryClearMarks_; }

    // --- channel state and run flags ---
    PerChannel<bool> CoordActive{};
    PerChannel<quint8> CoordState{};
    PerChannel<bool> CoordRunning{};
    bool ProgramRunning = false;
    bool CommMode = false;
    bool ReadBackActive = false;
    const QString VersionText = "ver.4.0.1";
    TTexts Texts;

    // Indicator colour of each channel state 0..3, as 0xRRGGBB: green, red, yellow, black.
    static constexpr std::array<TRgb, 4> IndicatorColours{0x008000, 0xFF0000, 0xFFFF00, 0x000000};

    // --- text fields shared with the worker threads ---
    QString LastReply() const { return lastReply_.Get(); }
    void SetLastReply(const QString& text) { lastReply_.Set(text); }
    QString LastError() const { return lastError_.Get(); }
    void SetLastError(const QString& text) { lastError_.Set(text); }
    QString ReadBackText() const { return readBackText_.Get(); }
    void SetReadBackText(const QString& text) { readBackText_.Set(text); }
    void AppendReadBackText(const QString& token) { readBackText_.Append(token); }

    // --- setters ---
    void SetCoordActive(int channel, bool value);
    void SetCoordsActive(bool a, bool b, bool c);
    void ShowCoordsActive();
    void SetCoordState(int channel, quint8 state);
    void SetCoordStates(quint8 a, quint8 b, quint8 c);
    void PaintIndicators();
    void EnableSimpleButtons(bool a, bool b, bool c, bool d);
    void SetCoordRunning(int channel, bool value);
    void SetScale(double x);
    void SetRounding(quint8 mode);
    void SetUnitsMode(quint8 mode);
    void SetControlMode(quint8 mode);
    void SetDirectControl(bool on);
    void SetLanguage(const QString& code);

    // --- the window's log and recording list, for the logic below it ---
    void AddLogLine(const QString& text, bool red = false) override;
    void AddRecordingLine(const QString& text);

    // The scale in the general decimal form ("1", "2.5").
    QString ScaleAsText() const;
    // Caption of the scale group box: "Scale:  1 Step = 1 steps" with the default texts.
    QString ScaleGroupCaption() const;

private:
    static bool ValidChannel(int channel) { return channel >= 1 && channel <= ChannelCount; }

    ICommonDatasView& view_;
    TSettings settings_;
    std::atomic<quint32> replyTime_{300};
    std::atomic<quint8> er6Reaction_{1};
    std::atomic<quint8> er9Reaction_{1};
    std::atomic<bool> autoRecovery_{true};
    std::atomic<bool> recoveryBreakComm_{true};
    std::atomic<bool> recoveryClearMarks_{true};
    // A text that one thread writes while another reads it: copied under a lock.
    class TLockedText {
    public:
        QString Get() const {
            std::lock_guard lock(mutex_);
            return text_;
        }
        void Set(const QString& text) {
            std::lock_guard lock(mutex_);
            text_ = text;
        }
        void Append(const QString& text) {
            std::lock_guard lock(mutex_);
            text_ += text;
        }

    private:
        mutable std::mutex mutex_;
        QString text_;
    };
    TLockedText lastReply_;
    TLockedText lastError_;
    TLockedText readBackText_;
};
