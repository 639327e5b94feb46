// vk930-sim: a simulated VK930 terminal on a pseudo-terminal, for the serial link.
//   vk930-sim --link PATH [--pace] SPEC
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <fstream>
#include <iostream>
#include <optional>

#include "core/base/printable_text.h"
#include "core/link/link_ctrl.h"
#include "core/link/trace_line.h"
#include "core/terminal/link_spec.h"
#include "core/terminal/link_spec_help.h"
#include "sim/sim_server.h"

using namespace vk930;

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Messages name paths and spec texts as given: escaped, like everything the tools print.
void Say(const std::string& message) {
    std::cerr << "vk930-sim: " << PrintableText(message) << '\n';
}

int UsageError(const std::string& message) {
    Say(message);
    std::cerr << "Try 'vk930-sim --help'.\n";
    return kExitUsage;
}

// SIGINT and SIGTERM arrive as a readable descriptor, so the serving loop sees them.
int StopSignals() {
    sigset_t stopSet;
    sigemptyset(&stopSet);
    sigaddset(&stopSet, SIGINT);
    sigaddset(&stopSet, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSet, nullptr);
    // A host that hangs up mid-answer is a write error to carry on from, not the end.
    signal(SIGPIPE, SIG_IGN);
    return signalfd(-1, &stopSet, SFD_CLOEXEC);
}

constexpr char kHelp[] =
    "Usage: vk930-sim --link PATH [--pace] SPEC\n"
    "Serves a simulated VK930 terminal on a pseudo-terminal linked at PATH until SIGINT or\n"
    "SIGTERM.\n\n"
    "  --link PATH  make PATH a link to the terminal's device\n"
    "  --pace       send and take bytes at the line rate of the baud the host set\n"
    "  SPEC         the terminal: sim[:STATEFILE][?OPTION&OPTION...]\n"
    "  -h, --help   show this and end\n\n";

// The command line: the link path, --pace and the spec; a usage error otherwise.
struct SimArguments {
    std::string linkPath;
    bool pace = false;
    TerminalSpec spec;
};

std::optional<SimArguments> ParseArguments(const QStringList& arguments, std::string& error) {
    QCommandLineParser parser;
    const QCommandLineOption linkOption("link", "Make PATH a link to the terminal's device.",
                                        "PATH");
    const QCommandLineOption paceOption("pace",
                                        "Send and take bytes at the line rate of the baud.");
    parser.addOptions({linkOption, paceOption});
    if (!parser.parse(arguments))
        error = parser.errorText().toStdString();
    else if (!parser.isSet(linkOption))
        error = "--link PATH is needed";
    else if (parser.positionalArguments().size() != 1)
        error = "one SPEC is needed";
    if (!error.empty()) return std::nullopt;
    Result<LinkSpec> spec = ParseLinkSpec(parser.positionalArguments()[0].toStdString());
    if (!spec)
        error = spec.error();
    else if (spec->kind != LinkSpec::Kind::kSim)
        error = "SPEC must be a sim spec";
    if (!error.empty()) return std::nullopt;
    return SimArguments{parser.value(linkOption).toStdString(), parser.isSet(paceOption),
                        spec->sim};
}

}  // namespace

int main(int argc, char** argv) {
    const int stopFd = StopSignals();
    QCoreApplication app(argc, argv);
    if (app.arguments().contains("--help") || app.arguments().contains("-h")) {
        std::cout << kHelp << kSimOptionsHelp << "\nSee vk930-sim(1) for what each option does.\n";
        return 0;
    }
    std::string error;
    const std::optional<SimArguments> args = ParseArguments(app.arguments(), error);
    if (!args) return UsageError(error);
    Result<std::unique_ptr<TerminalModel>> terminal = TerminalModel::Create(args->spec);
    if (!terminal) {
        Say(terminal.error());
        return kExitFailure;
    }
    WireServer::TraceSink trace;
    if (!args->spec.traceFile.empty()) {
        Result<TraceSink> opened = OpenTraceFile(args->spec.traceFile);
        if (!opened) {
            Say(opened.error());
            return kExitFailure;
        }
        trace = std::move(opened.value());
    }
    // A series says when its terminals come and go, for whoever watches the simulator.
    (*terminal)->SetEventSink([](const std::string& event) { Say(event); });
    SimServer server(**terminal, args->pace, std::move(trace));
    if (Status served = server.Run(args->linkPath, stopFd, Say); !served) {
        Say(served.error());
        return kExitFailure;
    }
    if (server.HungUp()) Say("hung up (wire fault), " + args->linkPath + " removed");
    Say("served " + std::to_string(server.BytesTaken()) + " bytes taken, " +
        std::to_string(server.BytesSent()) + " bytes sent");
    return 0;
}
