#pragma once
// `vk930ctl doctor [--port N]`: checks what keeps a port from working (the device, its
// permissions, another program holding it, ModemManager or brltty) and the files the program
// needs (settings, state folder, boot file). One line per check; exit 0 when all pass.
#include <QStringList>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_session.h"

namespace vk930 {

struct DoctorCheck {
    enum class Mark { kOk, kWarn, kFail };  // kWarn passes: worth a look, not a fault
    Mark mark = Mark::kOk;
    std::string text;
    std::string fix;  // empty when there is nothing to do
};

// "[ok]   text", "[warn] text; fix: ...", "[FAIL] text; fix: ..."
std::string FormatCheck(const DoctorCheck& check);

// The checks of one COM port with the settings and the --link override of the session.
std::vector<DoctorCheck> PortChecks(CliSession& session, int port);

CommandResult RunDoctor(CliSession& session, const QStringList& args);

}  // namespace vk930
