#pragma once
// The commands of the fault matrix, each run as a technician runs it from the window: its
// input put in place (a parameter file to replace or to program, a firmware file), its
// dialog answered, its button pressed.
#include <string>
#include <vector>

#include "core/commands/app_state.h"
#include "core/commands/config_view.h"
#include "support/fake_host.h"

namespace vk930::test {

enum class MatrixCommand {
    kIdentification,
    kCommId,
    kGetRaw,
    kGetKeyed,
    kSetKeyed,
    kSetRaw,
    kFirmware
};

const std::vector<MatrixCommand>& AllMatrixCommands();
std::string CommandName(MatrixCommand command);
// The baud the command talks at: the boot loader's for the firmware upload.
int CommandBaud(MatrixCommand command);

// The parameter file of a run in `dir`: the one Get replaces, or the one Set programs.
std::string ParameterFilePath(const std::string& dir);

// Puts the command's input in `dir` and scripts its dialog's answer. `firmwareFile`: the
// image the firmware command uploads.
void PrepareCommand(MatrixCommand command, const std::string& dir, const std::string& firmwareFile,
                    FakeHost& host, AppState& state);
// Presses the command's button; the firmware upload runs when the form timer expires.
Outcome RunCommand(MatrixCommand command, CVK900ConfigView& view);

// The log entries that tell a command succeeded ("Done", "DONE Succesfully!", "UPLOADING DONE").
bool IsSuccessEntry(const LogEntry& entry);

}  // namespace vk930::test
