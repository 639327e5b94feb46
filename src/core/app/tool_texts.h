#pragma once
// Texts and requests the Tools dialogs share.
#include <string>
#include <vector>

#include "core/commands/host.h"
#include "core/commands/outcome.h"

namespace vk930 {

// How a command ended, for a dialog's status line: "done", or its failure with the reason.
std::string OutcomeText(const Outcome& outcome);

// Warnings in one cell: "a; b".
std::string WarningsText(const std::vector<std::string>& warnings);

// The open dialog for a parameter file to compare with.
FileDialogRequest ParameterFileOpenRequest();

}  // namespace vk930
