#include "CommandLine.h"

#include "lang/BuiltInTexts.h"
#include "lang/ExtraIds.h"

#include <QFileInfo>

namespace {

QString Text(int id) {
    return BuiltIn::ExtraTexts().value(id);
}

// The window system's own options, with a value or without one.
const QStringList qtOptionsWithValue = {"-platform",
                                        "-platformpluginpath",
                                        "-platformtheme",
                                        "-plugin",
                                        "-qwindowgeometry",
                                        "-qwindowicon",
                                        "-qwindowtitle",
                                        "-session",
                                        "-display",
                                        "-geometry",
                                        "-title",
                                        "-name",
                                        "-style",
                                        "-stylesheet",
                                        "-qmljsdebugger",
                                        "-visual",
                                        "-ncols",
                                        "-cmap",
                                        "-im"};
const QStringList qtFlags = {"-reverse", "-nograb", "-dograb", "-sync", "-widgetcount"};

bool IsQtOption(const QString& argument, bool* takesValue) {
    const QString name = argument.section('=', 0, 0);
    *takesValue = false;
    if (qtFlags.contains(argument))
        return true;
    if (qtOptionsWithValue.contains(name)) {
        *takesValue = !argument.contains('=');
        return true;
    }
    return false;
}

TCommandLine Refused(const QString& why) {
    TCommandLine line;
    line.action = TCommandLine::Action::Error;
    line.error = why;
    return line;
}

} // namespace

TCommandLine TCommandLine::Parse(const QStringList& arguments) {
    TCommandLine line;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        bool qtValue = false;
        if (IsQtOption(argument, &qtValue)) {
            i += qtValue ? 1 : 0;
            continue;
        }
        if (argument == "-h" || argument == "--help") {
            line.action = Action::Help;
            return line;
        }
        if (argument == "-v" || argument == "--version") {
            line.action = Action::Version;
            return line;
        }
        const QString name = argument.section('=', 0, 0);
        if (name != "--folder" && name != "--port" && name != "--device") {
            if (argument.startsWith('-'))
                return Refused(Text(Ext::CmdUnknownOption).arg(argument));
            // One program file, as a file manager passes it.
            if (!line.file.isEmpty())
                return Refused(Text(Ext::CmdUnexpectedArgument).arg(argument));
            line.file = argument;
            continue;
        }
        QString value;
        if (argument.contains('=')) {
            value = argument.section('=', 1);
        } else if (i + 1 < arguments.size() && !arguments[i + 1].startsWith("--")) {
            value = arguments[++i];
        }
        if (value.isEmpty())
            return Refused(Text(Ext::CmdMissingValue).arg(name));
        if (name == "--folder") {
            line.folder = value;
            continue;
        }
        // A path or a network address is a device, whichever option names it.
        if (name == "--device" || value.startsWith('/') || value.startsWith("tcp://") ||
            value.startsWith("rfc2217://")) {
            line.device = value;
            line.port = 0;
            continue;
        }
        bool number = false;
        const uint port = value.toUInt(&number);
        if (!number || port < 1 || port > 255)
            return Refused(Text(Ext::CmdBadPort).arg(value));
        line.port = port;
        line.device.clear();
    }
    return line;
}

QString TCommandLine::HelpText(const QString& programName) {
    const QString name = QFileInfo(programName).fileName();
    const struct {
        const char* option;
        int text;
    } options[] = {{"-h, --help", Ext::CmdHelp},      {"-v, --version", Ext::CmdVersion},
                   {"--folder DIR", Ext::CmdFolder},  {"--port N", Ext::CmdPort},
                   {"--device PATH", Ext::CmdDevice}, {"FILE", Ext::CmdFile}};
    QString help = Text(Ext::CmdUsage).arg(name) + "\n\n" + Text(Ext::CmdDescription) + "\n\n" +
                   Text(Ext::CmdOptions) + "\n";
    for (const auto& o : options)
        help += QString("  %1%2\n").arg(QLatin1String(o.option), -16).arg(Text(o.text));
    return help;
}

QString TCommandLine::VersionText() {
    return QStringLiteral("KVT_Program " KVT_VERSION "\n");
}

QString TCommandLine::FolderUnusableText(const QString& folder, const QString& reason) {
    return Text(Ext::FolderUnusable).arg(folder, reason);
}

QString TCommandLine::ErrorText(const QString& programName) const {
    return error + "\n" + Text(Ext::CmdTryHelp).arg(QFileInfo(programName).fileName()) + "\n";
}
