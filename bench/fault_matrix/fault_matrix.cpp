// The whole fault matrix: each command over the serial link to vk930-sim, with each wire fault
// at every request position the command reaches. Prints per command and fault the cases
// tried, the cases held and the longest time a case took against its bound, then every case
// that did not hold. Exit status 0 when all held.
//   fault_matrix [COMMAND...]     (identification commid get-raw get-keyed set-keyed set-raw
//                                  firmware; default all)
#include "support/fault_matrix.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace vk930::test;
using std::chrono::milliseconds;

namespace {

struct Row {
    int tried = 0;
    int held = 0;
    milliseconds longest{0};
};

std::vector<MatrixCommand> ChosenCommands(int argc, char** argv) {
    std::vector<MatrixCommand> chosen;
    for (MatrixCommand command : AllMatrixCommands())
        for (int i = 1; i < argc; ++i)
            if (CommandName(command) == argv[i]) chosen.push_back(command);
    return argc > 1 ? chosen : AllMatrixCommands();
}

Row RunFault(FaultMatrix& matrix, MatrixCommand command, WireFaultKind fault,
             std::vector<CaseResult>& broken) {
    Row row;
    for (int at : matrix.Positions(command, fault)) {
        CaseResult result = matrix.Run(command, fault, at);
        ++row.tried;
        row.held += result.Held();
        row.longest = std::max(row.longest, result.time);
        if (!result.Held()) broken.push_back(std::move(result));
    }
    return row;
}

void PrintRow(const std::string& command, int requests, const std::string& fault, const Row& row,
              milliseconds bound) {
    std::printf("%-15s %8d  %-7s %6d %6d %9lld ms %9lld ms\n", command.c_str(), requests,
                fault.c_str(), row.tried, row.held, static_cast<long long>(row.longest.count()),
                static_cast<long long>(bound.count()));
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::vector<MatrixCommand> commands = ChosenCommands(argc, argv);
    if (commands.empty()) {
        std::fprintf(stderr,
                     "fault_matrix: unknown command; known: identification commid "
                     "get-raw get-keyed set-keyed set-raw firmware\n");
        return 2;
    }
    const MatrixOptions options = DefaultMatrixOptions();
    std::printf(
        "Fault matrix over the serial link to vk930-sim: answer time-out %lld ms at "
        "19200, %d sends a request\n\n",
        static_cast<long long>(options.timings.AnswerTimeout(19200).count()),
        options.timings.attempts);
    std::printf("%-15s %8s  %-7s %6s %6s %12s %12s\n", "command", "requests", "fault", "tried",
                "held", "max time", "bound");
    FaultMatrix matrix(options);
    std::vector<CaseResult> broken;
    Row total;
    for (MatrixCommand command : commands)
        for (WireFaultKind fault : AllWireFaults()) {
            const Row row = RunFault(matrix, command, fault, broken);
            PrintRow(CommandName(command), matrix.Healthy(command).requests, FaultName(fault), row,
                     matrix.Bound(command));
            total.tried += row.tried;
            total.held += row.held;
            total.longest = std::max(total.longest, row.longest);
        }
    std::printf("%-15s %8s  %-7s %6d %6d %9lld ms\n", "total", "", "", total.tried, total.held,
                static_cast<long long>(total.longest.count()));
    for (const CaseResult& result : broken)
        std::printf("NOT HELD: %s\n", result.Describe().c_str());
    return broken.empty() ? 0 : 1;
}
