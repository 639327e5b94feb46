// vk930ctl: the utility's commands from a terminal, on the same core as the window.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <variant>

#include "cli/cli_commands.h"
#include "cli/cli_session.h"
#include "cli/exit_status.h"
#include "cli/help_text.h"
#include "cli/output_format.h"
#include "cli/stop_signals.h"
#include "cli/terminal_host.h"
#include "core/base/printable_text.h"
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
    return text + "\n" + QString::fromStdString(ExitStatusHelp());
}

int UsageError(const std::string& message) {
    std::cerr << "vk930ctl: " << PrintableText(message) << "\nTry 'vk930ctl --help'.\n";
    return kExitUsage;
}

struct GlobalOptions {
    std::optional<std::string> link;
    std::optional<int> port;
    QString settingsPath;
    bool porcelain = false;
    const CliCommand* command = nullptr;
    QStringList args;  // the command's own
};

// The options to run a command with, or the exit status of a run that ends here (help,
// version, usage errors, which are reported).
using ParsedLine = std::variant<GlobalOptions, int>;

ParsedLine ParseGlobalOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Configures a VK930 Hand Terminal on a serial port.\n\n" +
                                     CommandsHelp() + "\n" +
                                     QString::fromStdString(OutputFormatHelp()));
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption linkOption(
        "link", "What the COM port reaches: sim[:STATEFILE][?OPTIONS], a serial device, or none.",
        "SPEC");
    const QCommandLineOption portOption("port", "COM port number 1 to 8 (not saved).", "N");
    const QCommandLineOption settingsOption("settings", "Settings file to use.", "FILE");
    const QCommandLineOption porcelainOption(
        "porcelain",
        "Machine-readable output: K<TAB>TEXT and @ID<TAB>TEXT lines (see Output above).");
    parser.addOptions({linkOption, portOption, settingsOption, porcelainOption});
    parser.addPositionalArgument("command", "The command to run (see above).");
    if (!parser.parse(arguments)) return UsageError(parser.errorText().toStdString());
    if (parser.isSet("help")) {
        std::cout << parser.helpText().toStdString() << HelpSections();
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
    options.args = parser.positionalArguments();
    if (options.args.isEmpty()) return UsageError("no command given");
    const std::string name = options.args.takeFirst().toStdString();
    options.command = FindCliCommand(name);
    if (!options.command) return UsageError("unknown command '" + name + "'");
    return options;
}

// Wires the session for the options and runs the command, its deferred step (the firmware
// upload, when the form timer expires) included. Returns the exit status.
int RunCommand(const GlobalOptions& options, TerminalHost& host) {
    QSettingsBackendFactory settings(options.settingsPath);
    // A file that is no settings file is named and left alone, before any command touches it.
    if (const int error = CheckSettingsFile(settings.Path()); error != 0) {
        std::cerr << "vk930ctl: settings file '" << PrintableText(settings.Path().toStdString())
                  << "' " << SettingsFileProblem(error) << '\n';
        return kExitUsage;
    }
    bool linkFault = false;
    const LinkErrorSink reportLinkError = [&](const std::string& message) {
        linkFault = true;
        std::cerr << "vk930ctl: " << PrintableText(message) << '\n';
    };
    CliSession session(
        host, settings,
        MakePortOpener(options.link, settings, ProgramBootFileLookup(), reportLinkError),
        reportLinkError);
    session.linkOverride = options.link;
    const StopSignals stopOnSignals(session.state.stop);
    host.WatchStop(&session.state.stop);
    session.view.OnInitialUpdate();
    host.ForgetFields();
    if (options.port) session.state.comPort = *options.port;

    CommandResult result = options.command->run(session, options.args);
    if (result.usageError) return UsageError(*result.usageError);
    if (options.command->standalone) {
        // A command that reached the terminal (diff FILE) was recorded by the view already.
        if (session.view.RecordsFinished() == 0)
            session.RecordStandalone(options.command->name, result.outcome);
        return result.exitStatus.value_or(ExitStatusOf(result.outcome));
    }
    while (host.TimerPending())
        if (std::optional<Outcome> upload = session.view.OnTimer()) result.outcome = *upload;
    host.PrintFields();
    host.PrintOutcome(result.outcome);
    if (result.outcome.ok() && linkFault) return kExitFailure;
    return ExitStatusOf(result.outcome);
}

// Output that could not be written fails the run, after the command has run to its end.
int WithOutputChecked(int status, const TerminalHost& host) {
    errno = 0;
    std::cout.flush();
    std::string problem = host.OutputProblem();
    if (problem.empty() && !std::cout) problem = errno != 0 ? std::strerror(errno) : "write failed";
    if (problem.empty()) return status;
    std::cerr << "vk930ctl: cannot write the output: " << problem << '\n';
    return status == kExitSuccess ? kExitFailure : status;
}

}  // namespace

int main(int argc, char** argv) {
    TakeClosedStandardDescriptors();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("vk930ctl");
    QCoreApplication::setApplicationVersion(PROJECT_VERSION);
    const ParsedLine parsed = ParseGlobalOptions(app.arguments());
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    const GlobalOptions& options = std::get<GlobalOptions>(parsed);
    TerminalHost host(std::cout, std::cerr, options.porcelain);
    return WithOutputChecked(RunCommand(options, host), host);
}
