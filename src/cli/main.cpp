// vk930ctl: the utility's commands from a terminal, on the same core as the window.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <iostream>

#include "cli/cli_commands.h"
#include "cli/cli_session.h"
#include "cli/terminal_host.h"
#include "core/terminal/link_spec.h"
#include "platform/link_factory.h"
#include "platform/qsettings_backend.h"

using namespace vk930;

namespace {

QString CommandsHelp() {
    QString text = "Commands:\n";
    for (const CliCommand& c : CliCommands())
        text += QString("  %1 %2\n      %3\n")
                    .arg(QString::fromStdString(c.name), QString::fromStdString(c.synopsis),
                         QString::fromStdString(c.summary));
    return text;
}

int UsageError(const std::string& message) {
    std::cerr << "vk930ctl: " << message << "\nTry 'vk930ctl --help'.\n";
    return kExitUsage;
}

struct GlobalOptions {
    std::optional<std::string> link;
    std::optional<int> port;
    QString settingsPath;
    bool porcelain = false;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("vk930ctl");
    QCoreApplication::setApplicationVersion(PROJECT_VERSION);

    QCommandLineParser parser;
    parser.setApplicationDescription("Configures a VK930 Hand Terminal on a serial port.\n\n" +
                                     CommandsHelp());
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption linkOption(
        "link", "What the COM port reaches: sim[:STATEFILE][?OPTIONS], a serial device, or none.",
        "SPEC");
    const QCommandLineOption portOption("port", "COM port number 1 to 8 (not saved).", "N");
    const QCommandLineOption settingsOption("settings", "Settings file to use.", "FILE");
    const QCommandLineOption porcelainOption("porcelain", "Machine-readable output.");
    parser.addOptions({linkOption, portOption, settingsOption, porcelainOption});
    parser.addPositionalArgument("command", "The command to run (see above).");
    if (!parser.parse(app.arguments())) return UsageError(parser.errorText().toStdString());
    if (parser.isSet("help")) {
        std::cout << parser.helpText().toStdString();
        return kExitSuccess;
    }
    if (parser.isSet("version")) {
        std::cout << "vk930ctl " << PROJECT_VERSION << '\n';
        return kExitSuccess;
    }

    GlobalOptions options;
    options.porcelain = parser.isSet(porcelainOption);
    options.settingsPath = parser.value(settingsOption);
    // An empty FILE would quietly mean the user's own settings file.
    if (parser.isSet(settingsOption) && options.settingsPath.isEmpty())
        return UsageError("--settings needs a FILE");
    if (parser.isSet(linkOption)) {
        options.link = parser.value(linkOption).toStdString();
        if (Result<LinkSpec> spec = ParseLinkSpec(*options.link); !spec)
            return UsageError(spec.error());
    }
    if (parser.isSet(portOption)) {
        bool ok = false;
        const int port = parser.value(portOption).toInt(&ok);
        if (!ok || port < 1 || port > 8)
            return UsageError("--port needs a COM port number from 1 to 8");
        options.port = port;
    }

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) return UsageError("no command given");
    const std::string name = positional.takeFirst().toStdString();
    const CliCommand* command = FindCliCommand(name);
    if (!command) return UsageError("unknown command '" + name + "'");

    TerminalHost host(std::cout, std::cerr, options.porcelain);
    QSettingsBackendFactory settings(options.settingsPath);
    // A file that is no settings file is named and left alone, before any command touches it.
    if (const int error = CheckSettingsFile(settings.Path()); error != 0) {
        std::cerr << "vk930ctl: settings file '" << settings.Path().toStdString() << "' "
                  << SettingsFileProblem(error) << '\n';
        return kExitUsage;
    }
    bool linkFault = false;
    const LinkErrorSink reportLinkError = [&](const std::string& message) {
        linkFault = true;
        std::cerr << "vk930ctl: " << message << '\n';
    };
    CliSession session(
        host, settings,
        MakePortOpener(options.link, settings, ProgramBootFileLookup(), reportLinkError),
        reportLinkError);
    session.linkOverride = options.link;
    session.view.OnInitialUpdate();
    host.ForgetFields();
    if (options.port) session.state.comPort = *options.port;

    std::string usage;
    const int status = command->run(session, positional, usage);
    if (status == kExitUsage) return UsageError(usage);
    if (command->standalone) return status;
    // A deferred step (the firmware upload) runs when the form timer expires.
    while (host.TimerPending()) session.view.OnTimer();
    host.PrintFields();
    return host.ReachedSuccess() && !linkFault ? kExitSuccess : kExitFailure;
}
