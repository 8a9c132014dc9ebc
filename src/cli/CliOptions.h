#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The command line of kvtctl:
//
//   kvtctl [options] COMMAND [arguments]
//
// Options may stand anywhere, before or after the command, and take their value as the next
// argument or after '=' (--port=3). What each command does is in CliRun.h; the texts are the
// tool's own, in English, as the --help of the window program.
struct TCliOptions {
    enum class Command { None, Send, SingleLines, Read, Verify, Wait, Ports, Preview, RunButton, Journal };
    Command command = Command::None;
    QStringList arguments; // the command's own: a file, lines, a channel

    // Where it talks, and how.
    QString device;   // --device PATH
    quint32 port = 0; // --port N (0: the number portp.dat keeps)
    QString folder;   // --folder DIR
    std::optional<quint32> replyTimeMs;
    std::optional<quint8> baudIndex, dataBitsIndex, parity, stopBits;

    // The commands' options.
    bool plain = false;                     // send, verify: a text file of list lines
    bool direct = false;                    // read, verify: the buffer (RB*) instead of a channel's program
    int channel = 1;                        // read: --channel N, the program of channel N (RD<N>*)
    QString output;                         // read: -o FILE, a program file pair
    std::optional<double> timeoutS;         // wait, read, verify
    bool start = false;                     // wait: send ST<n> first
    bool beyondTravel = false;              // send: also a program that leaves the travel limits
    bool openRecording = false;             // send: also a list that ends inside LD ... ED
    int fromLine = 0;                       // send: --from-line N (1-based; 0: from the first)
    bool resume = false;                    // send: where the journal says its last sending stopped
    QString since;                          // journal: --since DATE (ISO 8601, a day or a time)
    std::optional<double> minimum, maximum; // preview: a travel limit, in steps
    bool json = false;
    // Standard input or output was closed when kvtctl started (found by main, not an option).
    bool inputClosed = false, outputClosed = false;

    bool help = false; // --help (with a command: that command's)
    bool version = false;
    QString error; // why the command line was refused

    static TCliOptions Parse(const QStringList& arguments);
    static QString HelpText(Command command);
    static QString VersionText();
    static QString CommandName(Command command);
};
