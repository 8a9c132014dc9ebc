#pragma once

#include <QObject>

class TCommonDatas;
class TConnection;
class TLang;
class TSending;
class IOperationLog;

// The Stop key: a sending in progress stops after the line on its way (its answer taken, the
// summary logged, a recording it left open ended), and then every channel that runs or is
// paused is stopped ("ST n" each, sent as a list is). One log line says what was sent; with the
// port closed nothing can be, and the log says so in red.
class TMachineStop : public QObject {
    Q_OBJECT
public:
    TMachineStop(TCommonDatas& datas, const TLang& lang, TSending& sending, TConnection& connection,
                 IOperationLog& log);

    void StopAll();

private:
    // "ST n" for each channel that runs, sent; or the log line that none runs.
    void StopChannels();

    TCommonDatas& datas_;
    const TLang& lang_;
    TSending& sending_;
    TConnection& connection_;
    IOperationLog& log_;
    bool channelsNext_ = false; // the channels are stopped when the stopped sending has ended
};
