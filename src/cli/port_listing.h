#pragma once
// `vk930ctl ports`: the serial ports present and what each COM number reaches.
#include <QStringList>
#include <string>

#include "cli/cli_session.h"

namespace vk930 {

// One line per serial port present: name, description, USB vendor:product when known.
std::string ListSerialPorts();
// "COM1  /dev/ttyS0" for each COM number 1 to 8.
std::string ListComPorts(CliSession& session);

struct CommandResult;
CommandResult RunPorts(CliSession& session, const QStringList& args);

}  // namespace vk930
