// The table of vk930ctl's global options.
#include "cli/global_options.h"

namespace vk930 {

const std::vector<GlobalOption>& GlobalOptionTable() {
    static const std::vector<GlobalOption> kOptions = {
        {"link", "SPEC",
         "What the COM port reaches: sim[:STATEFILE][?OPTIONS], a serial device, or none."},
        {"port", "N", "COM port number 1 to 8 (not saved)."},
        {"settings", "FILE", "Settings file to use."},
        {"registry", "ADDRESS",
         "The shop's shared registry of terminals (IDs and records): postgresql://user@host/db. "
         "Default: the settings' Registry, else this bench's own counter and service log."},
        {"porcelain", "",
         "Machine-readable output: K<TAB>TEXT and @ID<TAB>TEXT lines (see Output above)."},
        {"json", "", "Output as JSON events, one object per line (see docs/json.md)."},
    };
    return kOptions;
}

namespace {

// Whether `arg` is an option that takes its value from the next word.
bool TakesNextWord(const QString& arg) {
    for (const GlobalOption& option : GlobalOptionTable())
        if (option.valueName[0] != '\0' && arg == QString("--") + option.name) return true;
    return false;
}

}  // namespace

bool JsonRequested(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == "--json") return true;
        if (arg == "--" || !arg.startsWith('-')) return false;  // the command
        if (TakesNextWord(arg)) ++i;
    }
    return false;
}

}  // namespace vk930
