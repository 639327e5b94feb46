#pragma once
// Steps that several terminal commands share, with their log texts.
#include <string>

#include "app/command_context.h"

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

}  // namespace vk930
