#pragma once
// Steps that several terminal commands share, with their log texts. Each returns the outcome
// of its step: success lets the command go on; anything else has been logged (and the port
// released where the step says so) and is what the command returns.
#include <string>

#include "core/commands/command_context.h"
#include "core/commands/outcome.h"

namespace vk930 {

// The terminal waits this long before it is asked who it is.
inline constexpr int kTerminalWaitMs = 300;

// What a command that stops early leaves in the terminal.
enum class TerminalLeft {
    kUntouched,         // nothing was written
    kPartlyProgrammed,  // some writes reached the terminal, the command did not finish
    kInBootLoader,      // opened for a firmware upload that never ran
};

// "COM3..." for port 3: the port label of the Get and Set commands.
std::string PortLabel(int port);

// Releases the port: Connect(port, 0).
void ClosePort(const CommandContext& ctx);

// Connect(port, 19200); on failure logs "Cannot open COM" + n and beeps.
Outcome OpenPortOrReport(const CommandContext& ctx);

// ReadInfo() must answer 1; otherwise logs "Connection Failure" and
// "Cannot Read Info from COM" + n, closes the port and beeps.
Outcome CheckReadInfo(const CommandContext& ctx);

// The opening of identification and of the CommID write: OpenPortOrReport, "Open COM" + n,
// "Searching VK930 device..", CheckReadInfo, "Reading Info OK". A stop before ReadInfo is
// logged as leaving the terminal `left`.
Outcome OpenAndSearch(const CommandContext& ctx, TerminalLeft left);

// Connect(port, 19200) for the Get command and the Set button: on failure logs the port label
// and " not available!" and beeps; on success logs "Connected to " and the port label.
Outcome ConnectOrReportUnavailable(const CommandContext& ctx);

// Logs "Reading Device type...", waits 300 ms for the terminal, then CheckReadInfo; logs
// "Reading Info OK" when it answered.
Outcome ReadInfoAfterWait(const CommandContext& ctx);

// GetDeviceType() must answer 6; otherwise logs "Connection Failure" and
// "Cannot Read device from COM" + n. The caller closes the port and beeps, in its own order.
Outcome CheckDeviceType(const CommandContext& ctx);

// The opening of the Get command and the Set button: ConnectOrReportUnavailable,
// ReadInfoAfterWait, then CheckDeviceType, closing the port and beeping when the device is
// not the hand terminal.
Outcome ConnectAndIdentify(const CommandContext& ctx);

// Fetches page 0, then page 1, each after its "Reading eeprom Page:N..." entry. On failure
// logs "Connection Failure" and closes the port; only a failed page 0 beeps.
Outcome FetchBothPages(const CommandContext& ctx);

const char* InterruptedText(TerminalLeft left);

// Ends a command on a stop request: logs where it left the terminal, releases the port.
Outcome Interrupt(const CommandContext& ctx, TerminalLeft left);

// Interrupt when a stop was asked for; success (go on) otherwise.
Outcome StopPoint(const CommandContext& ctx, TerminalLeft left);

}  // namespace vk930
