#pragma once
// The global options of vk930ctl (before the command), in one table: the parser is built from
// it, and so is the look for --json that a line which does not parse still needs.
#include <QStringList>
#include <vector>

namespace vk930 {

struct GlobalOption {
    const char* name;         // without the dashes
    const char* valueName;    // "" for a switch
    const char* description;  // for --help
};

// Every global option, --help and --version aside (the parser adds those).
const std::vector<GlobalOption>& GlobalOptionTable();

// Whether --json stands among the global options of `arguments` (the program's name first),
// before the command. A value given as the next word (--registry URL) is skipped, so that no
// value is taken for an option and no option for a value.
bool JsonRequested(const QStringList& arguments);

}  // namespace vk930
