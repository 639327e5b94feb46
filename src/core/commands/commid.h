#pragma once
// Writing the communication ID, typed or offered as the next number.
#include <string>

#include "core/commands/command_context.h"
#include "core/commands/outcome.h"

namespace vk930 {

// The next-ID caption for an edit text: decimal text of (converted number + 1).
std::string NextCommIdCaption(const std::string& editText);

// Change handler of the CommID edit: offers the next ID, or hides the offer for an empty edit.
void OnCommIdChange(const CommandContext& ctx);
// "&Set": writes the ID in the edit, resets and identifies the terminal, remembers the ID.
Outcome SetCommId(const CommandContext& ctx);
// The next-ID button: its caption becomes the edit's text and is written.
Outcome NextCommId(const CommandContext& ctx);

}  // namespace vk930
