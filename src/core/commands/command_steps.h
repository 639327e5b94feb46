#pragma once
// Steps that several terminal commands share, with their log texts.
#include <string>

#include "core/commands/command_context.h"

namespace vk930 {

// "COM3..." for port 3: the port label of the Get and Set commands.
std::string PortLabel(int port);

// Releases the port: Connect(port, 0).
void ClosePort(const CommandContext& ctx);

// Connect(port, 19200); on failure logs "Cannot open COM" + n and beeps.
bool OpenPortOrReport(const CommandContext& ctx);

// ReadInfo() must answer 1; otherwise logs "Connection Failure" and
// "Cannot Read Info from COM" + n, closes the port and beeps.
bool CheckReadInfo(const CommandContext& ctx);

// Connect(port, 19200) for the Get command and the Set button: on failure logs the port label
// and " not available!" and beeps; on success logs "Connected to " and the port label.
bool ConnectOrReportUnavailable(const CommandContext& ctx);

// Logs "Reading Device type...", waits 300 ms for the terminal, then CheckReadInfo; logs
// "Reading Info OK" when it answered.
bool ReadInfoAfterWait(const CommandContext& ctx);

// GetDeviceType() must answer 6; otherwise logs "Connection Failure" and
// "Cannot Read device from COM" + n. The caller closes the port and beeps, in its own order.
bool CheckDeviceType(const CommandContext& ctx);

// The opening of the Get command and the Set button: ConnectOrReportUnavailable,
// ReadInfoAfterWait, then CheckDeviceType, closing the port and beeping when the device is
// not the hand terminal.
bool ConnectAndIdentify(const CommandContext& ctx);

// Fetches page 0, then page 1, each after its "Reading eeprom Page:N..." entry. On failure
// logs "Connection Failure" and closes the port; only a failed page 0 beeps.
bool FetchBothPages(const CommandContext& ctx);

}  // namespace vk930
