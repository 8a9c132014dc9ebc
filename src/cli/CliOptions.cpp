#include "CliOptions.h"

#include "serial/ComPort.h"

#include <QByteArray>
#include <QList>

#include <QFileInfo>

#include <cmath>

// cli/commands.txt, built in.
QByteArray KvtctlCommandsText();

namespace {

using Command = TCliOptions::Command;

// The commands by name; their usage lines and summaries are the text of cli/commands.txt.
const std::pair<Command, const char*> kNames[] = {
    {Command::Send, "send"},
    {Command::Journal, "journal"},
    {Command::SingleLines, "command"},
    {Command::Read, "read"},
    {Command::Verify, "verify"},
    {Command::Wait, "wait"},
    {Command::RunButton, "run-button"},
    {Command::Ports, "ports"},
    {Command::Preview, "preview"},
};

struct TCommandHelp {
    QString name, usage, summary;
};

// The commands of cli/commands.txt, in its order.
const QList<TCommandHelp>& Commands() {
    static const QList<TCommandHelp> commands = [] {
        QList<TCommandHelp> list;
        for (const QString& line : QString::fromUtf8(KvtctlCommandsText()).split('\n')) {
            if (line.startsWith('#'))
                continue;
            if (line.startsWith("== ")) {
                list.append({line.mid(3).section(" | ", 0, 0), line.section(" | ", 1), {}});
            } else if (!list.isEmpty() && !line.isEmpty()) {
                TCommandHelp& last = list.last();
                last.summary += (last.summary.isEmpty() ? "" : "\n") + line;
            }
        }
        return list;
    }();
    return commands;
}

const TCommandHelp* HelpOf(const QString& name) {
    for (const TCommandHelp& c : Commands())
        if (c.name == name)
            return &c;
    return nullptr;
}

std::optional<quint8> IndexOf(const QString& value, const QStringList& choices) {
    const qsizetype i = choices.indexOf(value.toLower());
    return i < 0 ? std::nullopt : std::optional<quint8>(quint8(i));
}

} // namespace

QString TCliOptions::CommandName(Command command) {
    for (const auto& [c, name] : kNames) {
        if (c == command)
            return name;
    }
    return {};
}

TCliOptions TCliOptions::Parse(const QStringList& arguments) {
    TCliOptions o;
    bool channelGiven = false;
    const auto refuse = [&](const QString& why) {
        o.error = why;
        return o;
    };
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString argument = arguments[i];
        QString value;
        bool hasValue = false;
        if (argument.startsWith("--") && argument.contains('=')) {
            value = argument.section('=', 1);
            argument = argument.section('=', 0, 0);
            hasValue = true;
        }
        // The value of an option that takes one.
        const auto next = [&]() -> std::optional<QString> {
            if (hasValue)
                return value;
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        const auto number = [&](const char* name, double low, double high) -> std::optional<double> {
            const auto text = next();
            bool ok = false;
            const double n = text ? text->toDouble(&ok) : 0;
            if (!text || !ok || !std::isfinite(n) || n < low || n > high) {
                o.error = QString("The option %1 needs a number from %2 to %3.").arg(name).arg(low).arg(high);
                return std::nullopt;
            }
            return n;
        };
        // The options that take no value: each sets its flag.
        static const std::pair<const char*, bool TCliOptions::*> kFlags[] = {
            {"-h", &TCliOptions::help},
            {"--help", &TCliOptions::help},
            {"-v", &TCliOptions::version},
            {"--version", &TCliOptions::version},
            {"--json", &TCliOptions::json},
            {"--plain", &TCliOptions::plain},
            {"--direct", &TCliOptions::direct},
            {"--start", &TCliOptions::start},
            {"--resume", &TCliOptions::resume},
            {"--beyond-travel", &TCliOptions::beyondTravel},
            {"--open-recording", &TCliOptions::openRecording}};
        const auto flag = std::find_if(std::begin(kFlags), std::end(kFlags),
                                       [&](const auto& f) { return argument == QLatin1String(f.first); });
        if (flag != std::end(kFlags)) {
            o.*(flag->second) = true;
        } else if (argument == "--from-line") {
            const auto n = number("--from-line", 1, 1e9);
            if (!n || *n != int(*n))
                return refuse("The option --from-line needs a whole number from 1 on.");
            o.fromLine = int(*n);
        } else if (argument == "--since") {
            const auto text = next();
            if (!text || text->isEmpty())
                return refuse("The option --since needs a day or a time (2026-12-09, 2026-12-09T14:00).");
            o.since = *text;
        } else if (argument == "--device" || argument == "--folder" || argument == "-o" ||
                   argument == "--output") {
            const auto text = next();
            if (!text || text->isEmpty())
                return refuse(QString("The option %1 needs a value.").arg(argument));
            (argument == "--device" ? o.device : argument == "--folder" ? o.folder : o.output) = *text;
        } else if (argument == "--port") {
            const auto n = number("--port", 1, 255);
            if (!n || *n != int(*n))
                return refuse(o.error.isEmpty()
                                  ? QString("The option --port needs a whole number from 1 to 255.")
                                  : o.error);
            o.port = quint32(*n);
        } else if (argument == "--channel") {
            const auto n = number("--channel", 1, 3);
            if (!n || *n != int(*n))
                return refuse(o.error.isEmpty() ? QString("The option --channel needs 1, 2 or 3.") : o.error);
            o.channel = int(*n);
            channelGiven = true;
        } else if (argument == "--reply-time") {
            const auto n = number("--reply-time", 1, 86400000);
            if (!n)
                return o;
            o.replyTimeMs = quint32(*n);
        } else if (argument == "--timeout") {
            const auto n = number("--timeout", 0, 2000000); // what a timer can hold, about 23 days
            if (!n)
                return o;
            o.timeoutS = *n;
        } else if (argument == "--min" || argument == "--max") {
            const auto n = number(argument == "--min" ? "--min" : "--max", -1e12, 1e12);
            if (!n)
                return o;
            (argument == "--min" ? o.minimum : o.maximum) = *n;
        } else if (argument == "--baud") {
            const auto text = next();
            for (int b = 0; text && b < TComPort::BaudRateCount; ++b) {
                if (*text == QString::number(TComPort::BaudRates[b]))
                    o.baudIndex = quint8(b);
            }
            if (!o.baudIndex)
                return refuse(
                    "The option --baud needs one of the rates 110, 300, 600, 1200, 2400, 4800, 9600, "
                    "14400, 19200, 38400, 56000, 57600, 115200.");
        } else if (argument == "--data-bits") {
            const auto text = next();
            o.dataBitsIndex = text ? IndexOf(*text, {"5", "6", "7", "8"}) : std::nullopt;
            if (!o.dataBitsIndex)
                return refuse("The option --data-bits needs 5, 6, 7 or 8.");
        } else if (argument == "--parity") {
            const auto text = next();
            o.parity = text ? IndexOf(*text, {"none", "odd", "even", "mark", "space"}) : std::nullopt;
            if (!o.parity)
                return refuse("The option --parity needs none, odd, even, mark or space.");
        } else if (argument == "--stop-bits") {
            const auto text = next();
            o.stopBits = text ? IndexOf(*text, {"1", "1.5", "2"}) : std::nullopt;
            if (!o.stopBits)
                return refuse("The option --stop-bits needs 1, 1.5 or 2.");
        } else if (argument.startsWith('-') && argument != "-") {
            return refuse("Unknown option: " + argument);
        } else if (o.command == Command::None) {
            for (const auto& [c, name] : kNames) {
                if (argument == QLatin1String(name))
                    o.command = c;
            }
            if (o.command == Command::None)
                return refuse("Unknown command: " + argument);
        } else {
            o.arguments << argument;
        }
    }
    if (o.help || o.version)
        return o;
    if (o.command == Command::None)
        return refuse("No command given.");
    const qsizetype n = o.arguments.size();
    switch (o.command) {
    case Command::Send:
    case Command::Verify:
    case Command::Preview:
        if (n != 1)
            return refuse(CommandName(o.command) + " needs one file.");
        break;
    case Command::SingleLines:
        if (n == 0)
            return refuse("command needs at least one line to send.");
        break;
    case Command::RunButton:
        if (n != 1 || o.arguments.first().trimmed().isEmpty())
            return refuse("run-button needs the name of one user button.");
        break;
    case Command::Read:
    case Command::Ports:
    case Command::Journal:
        if (n != 0)
            return refuse("Unexpected argument: " + o.arguments.first());
        break;
    case Command::Wait: {
        bool ok = false;
        const int channel = n == 1 ? o.arguments.first().toInt(&ok) : 0;
        if (!ok || channel < 1 || channel > 3)
            return refuse("wait needs a coordinate: 1, 2 or 3.");
        break;
    }
    case Command::None:
        break;
    }
    if (channelGiven && o.command != Command::Read && o.command != Command::Journal)
        return refuse(
            "--channel belongs to read and journal (verify reads every coordinate its file writes).");
    if (o.command == Command::Journal && !channelGiven)
        o.channel = 0; // every coordinate's
    if (channelGiven && o.direct)
        return refuse("Give either --channel or --direct, not both.");
    if ((o.minimum || o.maximum) && o.command != Command::Preview)
        return refuse("--min and --max belong to preview.");
    if (o.timeoutS && o.command != Command::Wait && o.command != Command::Read &&
        o.command != Command::Verify)
        return refuse("--timeout belongs to wait, read and verify.");
    if ((o.beyondTravel || o.openRecording) && o.command != Command::Send)
        return refuse(QString(o.beyondTravel ? "--beyond-travel" : "--open-recording") + " belongs to send.");
    if (o.resume && o.command != Command::Send)
        return refuse("--resume belongs to send.");
    if (o.fromLine != 0 && o.command != Command::Send && o.command != Command::Preview)
        return refuse("--from-line belongs to send and preview.");
    if (o.fromLine != 0 && o.resume)
        return refuse("Give either --from-line or --resume, not both.");
    if (!o.since.isEmpty() && o.command != Command::Journal)
        return refuse("--since belongs to journal.");
    if (o.minimum && o.maximum && *o.minimum > *o.maximum)
        return refuse("--min must not be above --max.");
    if (!o.device.isEmpty() && o.port != 0)
        return refuse("Give either --device or --port, not both.");
    return o;
}

QString TCliOptions::HelpText(Command command) {
    if (const TCommandHelp* c = command != Command::None ? HelpOf(CommandName(command)) : nullptr)
        return QString("Usage: kvtctl [options] %1\n\n%2\n\nThe options of every command: kvtctl --help\n")
            .arg(c->usage, c->summary);
    QString help = "Usage: kvtctl [options] COMMAND [arguments]\n\n"
                   "Writes, checks, starts and watches a stepper-motor controller of the TRVA series from a\n"
                   "script, with no window: what KVT_Program does, through the same program folder.\n\n"
                   "Commands:\n";
    for (const TCommandHelp& c : Commands())
        help += QString("  %1\n").arg(c.usage);
    help += "\nOptions:\n"
            "  --device PATH      talk over this terminal device (any, no link needed), or to a\n"
            "                     controller on the network: tcp://HOST:PORT, rfc2217://HOST:PORT\n"
            "  --port N           port N as the program resolves it (ports/COM<N>, else the system's)\n"
            "                     (neither: the port number stored in the program folder)\n"
            "  --folder DIR       the program folder (else as the program chooses it)\n"
            "  --reply-time MS    the reply time of this call (else the program folder's)\n"
            "  --baud RATE, --data-bits 5..8, --parity none|odd|even|mark|space, --stop-bits 1|1.5|2\n"
            "                     the line settings (else 9600 baud, 8 data bits, even parity, 1 stop bit)\n"
            "  --json             one JSON object per line instead of readable lines\n"
            "  --min S, --max S   preview: the travel of every coordinate, in steps\n"
            "  --timeout S        wait, read, verify: give up after S seconds\n"
            "  --from-line N      send, preview: from line N on (from its program's LD when inside one)\n"
            "  --resume           send: from where the journal says the last sending of the file stopped\n"
            "  --since DATE       journal: the events from that day or time on\n"
            "  -h, --help         this help; with a command, that command's\n"
            "  -v, --version      the version\n\n"
            "Exit status: 0 done; 1 the controller refused a line, did not answer, or the program read\n"
            "back differs; 2 a bad argument; 3 the port could not be opened, or the device went away; 4 a\n"
            "file, or the output, could not be read or written; 5 --timeout ran out first; 130 stopped by\n"
            "Ctrl+C, SIGTERM or a closed output (after the line being sent has its answer).\n"
            "kvtctl COMMAND --help tells more of a command.\n";
    return help;
}

QString TCliOptions::VersionText() {
    return QStringLiteral("kvtctl " KVT_VERSION "\n");
}
