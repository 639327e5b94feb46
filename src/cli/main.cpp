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
#include "cli/global_options.h"
#include "cli/help_text.h"
#include "cli/json_events.h"
#include "cli/output_format.h"
#include "cli/stop_signals.h"
#include "cli/terminal_host.h"
#include "core/base/printable_text.h"
#include "core/proof/state_folder.h"
#include "core/terminal/link_spec.h"
#include "platform/link_factory.h"
#include "platform/postgres_address.h"
#include "platform/qsettings_backend.h"
#include "platform/registry_factory.h"

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

// A run that ends before any command ran: the message on standard error, and with --json
// (`json` given) the result event as well.
int UsageError(JsonEventWriter* json, const std::string& message, bool pointToHelp = true) {
    std::cerr << "vk930ctl: " << PrintableText(message) << '\n';
    if (pointToHelp) std::cerr << "Try 'vk930ctl --help'.\n";
    if (json) json->Write(ResultEvent(kUsageOutcome, message, kExitUsage));
    return kExitUsage;
}

// --help and --version: their text, or with --json an event carrying it and the result.
int Told(JsonEventWriter* json, const QJsonObject& event, const std::string& text) {
    if (!json) {
        std::cout << text;
        return kExitSuccess;
    }
    json->Write(event);
    json->Write(ResultEvent(Outcome::Success(), kExitSuccess));
    return kExitSuccess;
}

struct GlobalOptions {
    std::optional<std::string> link;
    std::optional<int> port;
    std::optional<std::string> registry;  // --registry ADDRESS
    QString settingsPath;
    OutputStyle style = OutputStyle::kReadable;
    const CliCommand* command = nullptr;
    QStringList args;  // the command's own
};

// The options to run a command with, or the exit status of a run that ends here (help,
// version, usage errors, which are reported).
using ParsedLine = std::variant<GlobalOptions, int>;

ParsedLine ParseGlobalOptions(const QStringList& arguments, JsonEventWriter& events) {
    JsonEventWriter* const json = JsonRequested(arguments) ? &events : nullptr;
    QCommandLineParser parser;
    parser.setApplicationDescription("Configures a VK930 Hand Terminal on a serial port.\n\n" +
                                     CommandsHelp() + "\n" +
                                     QString::fromStdString(OutputFormatHelp()));
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.addHelpOption();
    parser.addVersionOption();
    for (const GlobalOption& option : GlobalOptionTable())
        parser.addOption(QCommandLineOption(option.name, option.description, option.valueName));
    parser.addPositionalArgument("command", "The command to run (see above).");
    if (!parser.parse(arguments)) return UsageError(json, parser.errorText().toStdString());
    if (parser.isSet("help")) {
        const std::string help = parser.helpText().toStdString() + HelpSections();
        return Told(json, JsonTextEvent("help", "text", help), help);
    }
    if (parser.isSet("version"))
        return Told(json,
                    JsonEvent("version", {{"program", "vk930ctl"}, {"version", PROJECT_VERSION}}),
                    std::string("vk930ctl ") + PROJECT_VERSION + "\n");

    GlobalOptions options;
    if (parser.isSet("porcelain") && json)
        return UsageError(json, "--porcelain and --json exclude each other");
    options.style = json                        ? OutputStyle::kJson
                    : parser.isSet("porcelain") ? OutputStyle::kPorcelain
                                                : OutputStyle::kReadable;
    options.settingsPath = parser.value("settings");
    // An empty FILE would quietly mean the user's own settings file.
    if (parser.isSet("settings") && options.settingsPath.isEmpty())
        return UsageError(json, "--settings needs a FILE");
    if (parser.isSet("link")) {
        options.link = parser.value("link").toStdString();
        if (Result<LinkSpec> spec = ParseLinkSpec(*options.link); !spec)
            return UsageError(json, spec.error());
    }
    if (parser.isSet("registry")) {
        options.registry = parser.value("registry").toStdString();
        if (options.registry->empty()) return UsageError(json, "--registry needs an ADDRESS");
    }
    if (parser.isSet("port")) {
        bool ok = false;
        const int port = parser.value("port").toInt(&ok);
        if (!ok || port < 1 || port > 8)
            return UsageError(json, "--port needs a COM port number from 1 to 8");
        options.port = port;
    }
    options.args = parser.positionalArguments();
    if (options.args.isEmpty()) return UsageError(json, "no command given");
    const std::string name = options.args.takeFirst().toStdString();
    options.command = FindCliCommand(name);
    if (!options.command) return UsageError(json, "unknown command '" + name + "'");
    return options;
}

// How a command's run ended: its exit status, and the outcome its result event gives (none
// when the run ended with a usage error, which is reported where it is found).
struct RunEnd {
    int status = kExitSuccess;
    std::optional<Outcome> outcome;
};

// Wires the session for the options and runs the command, its deferred step (the firmware
// upload, when the form timer expires) included.
RunEnd RunCommand(const GlobalOptions& options, TerminalHost& host, JsonEventWriter& events) {
    JsonEventWriter* const json = host.Json() ? &events : nullptr;
    QSettingsBackendFactory settings(options.settingsPath);
    // A file that is no settings file is named and left alone, before any command touches it.
    if (const int error = CheckSettingsFile(settings.Path()); error != 0)
        return {UsageError(json,
                           "settings file '" + settings.Path().toStdString() + "' " +
                               SettingsFileProblem(error),
                           false),
                std::nullopt};
    RegistryChoice choice;
    choice.address = options.registry;
    choice.settings = &settings;
    choice.settingsPath = settings.Path().toStdString();
    choice.stateFolder = StateFolder();
    choice.notice = [&host](const std::string& text) { host.Note(text); };
    choice.stopRequested = [&host] { return host.StopRequested(); };
    Result<std::unique_ptr<TerminalRegistry>> registry = OpenRegistry(choice);
    // Nothing runs without it: the commands' records would have nowhere to go. A wrong
    // "Registry" in the settings is no fault of the command line, so no --help is offered.
    if (!registry)
        return {UsageError(json, registry.error(), choice.address.has_value()), std::nullopt};
    bool linkFault = false;
    const LinkErrorSink reportLinkError = [&](const std::string& message) {
        linkFault = true;
        host.Note(message);
    };
    CliSession session(
        host, settings,
        MakePortOpener(options.link, settings, ProgramBootFileLookup(), reportLinkError),
        reportLinkError, std::move(*registry), MaskedAddress(ChosenRegistryAddress(choice)));
    session.linkOverride = options.link;
    session.settingsPath = settings.Path().toStdString();
    const StopSignals stopOnSignals(session.state.stop);
    host.WatchStop(&session.state.stop);
    session.program.InitialUpdate();
    host.ForgetFields();
    if (options.port) session.state.comPort = *options.port;

    CommandResult result = options.command->run(session, options.args);
    if (result.usageError) return {UsageError(json, *result.usageError), std::nullopt};
    // Port 0 comes from a settings file that did not open: that file is the cause to name.
    if (result.outcome.outcomeClass == OutcomeClass::kPortNotOpened)
        if (std::string why = session.NoPortReason(); !why.empty())
            result.outcome.detail = std::move(why);
    if (options.command->standalone) {
        // A command that reached the terminal (diff FILE) was recorded by the view already.
        if (session.view.RecordsFinished() == 0)
            session.RecordStandalone(options.command->name, result.outcome);
        return {result.exitStatus.value_or(ExitStatusOf(result.outcome)), result.outcome};
    }
    while (host.TimerPending())
        if (std::optional<Outcome> upload = session.view.OnTimer()) result.outcome = *upload;
    host.PrintFields();
    host.PrintOutcome(result.outcome);
    if (result.outcome.ok() && linkFault) return {kExitFailure, result.outcome};
    return {ExitStatusOf(result.outcome), result.outcome};
}

bool OutputLost(const TerminalHost& host) {
    return !host.OutputProblem().empty() || !std::cout;
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

// The exit status; with --json the result event names it, lost output counted in.
int Finish(const RunEnd& end, TerminalHost& host) {
    int status = end.status;
    if (end.outcome && host.Json()) {
        if (status == kExitSuccess && OutputLost(host)) status = kExitFailure;
        host.PrintResult(*end.outcome, status);
    }
    return WithOutputChecked(status, host);
}

}  // namespace

int main(int argc, char** argv) {
    TakeClosedStandardDescriptors();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("vk930ctl");
    QCoreApplication::setApplicationVersion(PROJECT_VERSION);
    JsonEventWriter events(std::cout);
    const ParsedLine parsed = ParseGlobalOptions(app.arguments(), events);
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    const GlobalOptions& options = std::get<GlobalOptions>(parsed);
    TerminalHost host(std::cout, std::cerr, options.style, &events);
    return Finish(RunCommand(options, host, events), host);
}
