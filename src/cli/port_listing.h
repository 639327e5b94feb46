#pragma once
// `vk930ctl ports`: the serial devices present and what each COM number reaches; with
// --assign N SPEC or --unassign N it sets what COMN reaches (`DeviceN` in the settings).
#include <QStringList>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_session.h"
#include "platform/serial_devices.h"

namespace vk930 {

// One line per serial device present: path, description, USB vendor:product and by-id
// name when known.
std::string ListSerialPorts(const std::vector<SerialDevice>& devices);
// "* COM1  /dev/ttyS0  (present)" for each COM number 1 to 8; the current port marked "*".
std::string ListComPorts(CliSession& session);

struct CommandResult;
CommandResult RunPorts(CliSession& session, const QStringList& args);

}  // namespace vk930
