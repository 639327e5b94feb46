// vk930-sim: a simulated VK930 terminal on a pseudo-terminal, for the serial link.
//   vk930-sim --link PATH [--pace] SPEC
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <fstream>
#include <iostream>

#include "link/link_ctrl.h"
#include "sim/link_spec.h"
#include "sim/sim_server.h"

using namespace vk930;

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int UsageError(const std::string& message) {
    std::cerr << "vk930-sim: " << message << "\nTry 'vk930-sim --help'.\n";
    return kExitUsage;
}

// SIGINT and SIGTERM arrive as a readable descriptor, so the serving loop sees them.
int StopSignals() {
    sigset_t stopSet;
    sigemptyset(&stopSet);
    sigaddset(&stopSet, SIGINT);
    sigaddset(&stopSet, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSet, nullptr);
    return signalfd(-1, &stopSet, SFD_CLOEXEC);
}

WireServer::TraceSink TraceTo(const std::string& path) {
    if (path.empty()) return {};
    auto out = std::make_shared<std::ofstream>(path, std::ios::app | std::ios::binary);
    return [out](const std::string& line) { *out << line << '\n' << std::flush; };
}

}  // namespace

int main(int argc, char** argv) {
    const int stopFd = StopSignals();
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Serves a simulated VK930 terminal on a pseudo-terminal linked at PATH until SIGINT or "
        "SIGTERM.\nSPEC is a sim link spec: sim[:STATEFILE][?OPTIONS].");
    parser.addHelpOption();
    const QCommandLineOption linkOption("link", "Make PATH a link to the terminal's device.",
                                        "PATH");
    const QCommandLineOption paceOption("pace",
                                        "Send and take bytes at the line rate of the baud.");
    parser.addOptions({linkOption, paceOption});
    parser.addPositionalArgument("SPEC", "The terminal: sim[:STATEFILE][?OPTIONS].");
    if (!parser.parse(app.arguments())) return UsageError(parser.errorText().toStdString());
    if (parser.isSet("help")) {
        std::cout << parser.helpText().toStdString();
        return 0;
    }
    if (!parser.isSet(linkOption)) return UsageError("--link PATH is needed");
    if (parser.positionalArguments().size() != 1) return UsageError("one SPEC is needed");
    Result<LinkSpec> spec = ParseLinkSpec(parser.positionalArguments()[0].toStdString());
    if (!spec) return UsageError(spec.error());
    if (spec->kind != LinkSpec::Kind::kSim) return UsageError("SPEC must be a sim spec");

    Result<std::unique_ptr<TerminalModel>> terminal = TerminalModel::Create(spec->sim);
    if (!terminal) {
        std::cerr << "vk930-sim: " << terminal.error() << '\n';
        return kExitFailure;
    }
    SimServer server(**terminal, parser.isSet(paceOption), TraceTo(spec->sim.traceFile));
    const std::string linkPath = parser.value(linkOption).toStdString();
    if (Status served = server.Run(linkPath, stopFd); !served) {
        std::cerr << "vk930-sim: " << served.error() << '\n';
        return kExitFailure;
    }
    if (server.HungUp())
        std::cerr << "vk930-sim: hung up (wire fault), " << linkPath << " removed\n";
    return 0;
}
