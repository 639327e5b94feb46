#pragma once
// The one way a terminal gets a counted ID (the next-ID button, `commid --next`, a series):
// reserve it in the registry, write it, and record what the terminal carries afterwards,
// as it is: written only when read back after the reset; after a failed write, what the
// terminal reads back, or every value it may carry when it no longer answers.
#include <optional>
#include <string>
#include <vector>

#include "core/commands/command_context.h"
#include "core/commands/commid.h"
#include "core/registry/terminal_registry.h"

namespace vk930 {

// What a look at the port found; the port is released again either way.
struct PortProbe {
    bool opened = false;
    std::optional<std::string> commId;  // of the terminal that answered; nullopt: none did
};
// Connect, ReadInfo, GetCommIdText, release; nothing goes to the operation log.
PortProbe ProbePort(const CommandContext& ctx);

struct NumberedTerminal {
    CommIdWrite write;
    int commId = -1;           // the reserved ID; -1: none was reserved (see `reserveError`)
    std::string reserveError;  // why no ID was reserved
    IdState fate = IdState::kSkipped;
    std::string reason;           // why not written, for records and people
    std::vector<int> possible;    // other values the terminal may carry
    std::optional<int> readBack;  // what the terminal said its ID was after the write
    std::string unmarked;         // non-empty: the registry did not take the fate (why)
    bool Written() const { return fate == IdState::kWritten; }
};

// Reserves the next ID in `registry` for `seriesId`, writes it into the terminal at the port
// and records its fate there. `oldId`: the ID the terminal carried (read from it when unset,
// to name the values a failed write may leave). The CommID edit and the next-ID button show
// the reserved ID while it is written; "commID" is stored by the reservation, not the write.
NumberedTerminal NumberTerminal(const CommandContext& ctx, TerminalRegistry& registry,
                                const std::string& seriesId, std::optional<int> oldId);

// "the terminal may carry this ID", with what made it uncertain.
std::string MayCarry(const std::string& cause);

}  // namespace vk930
