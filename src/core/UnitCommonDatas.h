#pragma once

#include "CommonDatasView.h"
#include "OperationLog.h"

#include <QObject>
#include <QString>

#include <array>
#include <atomic>
#include <mutex>

// The shared run-time state: the three controller channels ("coordinates" 1..3), the flags that
// follow program execution and the controller's communication mode, the last reply and error
// seen on the line, the operator's settings, and the language texts its setters write into the
// main window. Every setter stores its value and brings the window into line at once.
//
// Setters run on the main thread. The transmission and read-back threads read ReplyTime,
// Er6Reaction, Er9Reaction (atomics) and LastError, ReadBackText (copied under a lock).
//
// The logic below the window reaches the window through this object only: the operation log
// and the recording list are passed on to the view as they are.
class TCommonDatas : public QObject, public IOperationLog {
    Q_OBJECT
public:
    static constexpr int ChannelCount = 3;
    // Per-channel arrays are indexed by the channel number 1..3; index 0 is unused.
    template <typename T> using PerChannel = std::array<T, ChannelCount + 1>;

    enum CoordStates : quint8 { Standby = 0, Executing = 1, Communication = 2, Paused = 3 };
    enum ControlModes : quint8 { SimpleMode = 0, ExtendedMode = 1 };
    enum UnitsModes : quint8 { StepsUnits = 0, OtherUnits = 1 };

    explicit TCommonDatas(ICommonDatasView& view);
    TCommonDatas(const TCommonDatas&) = delete;
    TCommonDatas& operator=(const TCommonDatas&) = delete;

    // --- fields, in the order of the shared state ---
    double Scale = 1.0;
    quint8 RoundingMode = 0;
    PerChannel<bool> CoordActive{};
    PerChannel<quint8> CoordState{};
    PerChannel<bool> CoordRunning{};
    std::atomic<bool> AutoRecovery{true}; // these three are read on the port's read thread too
    std::atomic<quint8> Er6Reaction{1};
    std::atomic<quint8> Er9Reaction{1};
    std::atomic<bool> RecoveryBreakComm{true};
    std::atomic<bool> RecoveryClearMarks{true};
    std::atomic<quint32> ReplyTime{300};
    bool ShowPortLog = false;
    bool ShowOperationLog = true;
    bool ShowLoadLog = false;
    bool SavePortLog = false;
    bool SaveOperationLog = false;
    bool SavePortSettings = true;
    bool SaveProgramSettings = true;
    bool SaveErrorSettings = true;
    QString Language = "en";
    bool SaveUnits = true;
    bool SaveUnitsName = true;
    bool SaveUnitsScale = true;
    bool AutoAddEN = true;
    bool AutoAddBG = true;
    bool ProgramRunning = false;
    bool CommMode = false;
    bool ReadBackActive = false;
    QString UnitsName = "Step";
    QString VersionText = "ver.4.0.1";
    bool DirectControl = false;
    // The selected control mode and units mode, as the two radio groups of the main window set
    // them.
    quint8 ControlMode = SimpleMode;
    quint8 UnitsMode = StepsUnits;
    // Language texts, replaced when a language is applied.
    QString CoordinatesText = "Coordinates:  ";
    QString CoordText = "Coord";
    QString ExecutingText = "program executing";
    QString ScaleText = "Scale";
    QString StepsText = "steps";
    QString RoundDownText = "Decreasing rounding";
    QString RoundUpText = "Increasing rounding";
    QString RoundMathText = "Mathematic rounding";

    // Indicator colour of each channel state 0..3, as 0xRRGGBB: green, red, yellow, black.
    std::array<TRgb, 4> IndicatorColours{0x008000, 0xFF0000, 0xFFFF00, 0x000000};

    // --- text fields shared with the worker threads ---
    QString LastReply() const;
    void SetLastReply(const QString& text);
    QString LastError() const;
    void SetLastError(const QString& text);
    QString ReadBackText() const;
    void SetReadBackText(const QString& text);
    void AppendReadBackText(const QString& token);

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

    // --- the window's log and recording list, for the logic below it ---
    void AddLogLine(const QString& text, bool red = false) override;
    void AddRecordingLine(const QString& text);

    // The scale in the general decimal form ("1", "2.5").
    QString ScaleAsText() const;
    // Caption of the scale group box: "Scale:  1 Step = 1 steps" with the default texts.
    QString ScaleGroupCaption() const;

signals:
    // The scale or the units mode changed: what depends on them (the command table) follows.
    void UnitsChanged();

private:
    static bool ValidChannel(int channel) { return channel >= 1 && channel <= ChannelCount; }

    ICommonDatasView& view_;
    mutable std::mutex textMutex_;
    QString lastReply_;
    QString lastError_;
    QString readBackText_;
};
