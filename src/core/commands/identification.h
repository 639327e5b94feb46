#pragma once
// "&Read Device Info": identifies the terminal and fills the identification fields.
#include <optional>
#include <string>

#include "core/commands/command_context.h"
#include "core/commands/command_steps.h"
#include "core/commands/outcome.h"
#include "core/commands/terminal_identity.h"

namespace vk930 {

// Code-to-text tables of the hardware fit; "Unknown" for a code not in the table.
std::string ScannerText(int code);
std::string RfidText(int code);
std::string ColorText(int code);
std::string DisplayText(int code);
// "14" shows as "1.4": a point after the first character.
std::string VersionWithPoint(const std::string& version);
// "KD04" then "0" and the code for scanner, RFID and colour.
std::string TypeLabel(int scanner, int rfid, int color);

// How an identification ended, and the terminal's identity when it was read.
struct Identification {
    Outcome outcome;
    std::optional<TerminalIdentity> identity =
        std::nullopt;  // set exactly when the outcome is a success
};

// The seven identification fields filled from an identity, in the order the form shows them.
void ShowIdentity(FormModel& form, const TerminalIdentity& identity);

// Identifies the terminal, fills the fields and tells the context's identity listener.
// `left` is what a stop leaves in the terminal (the CommID write identifies a terminal it
// has just written).
Identification IdentifyTerminal(const CommandContext& ctx, TerminalLeft left);
Identification ReadDeviceInfo(const CommandContext& ctx);

}  // namespace vk930
