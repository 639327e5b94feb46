#pragma once
// "Edit with Notepad" on Windows: Notepad.exe started with CreateProcessA on the parameter
// file, the path as one quoted argument; no shell comes between, so blanks, quotes and
// ampersands in the path reach Notepad as they are.
#include <string>

#include "core/base/result.h"
#include "core/base/windows_command_line.h"

namespace vk930 {

// Starts `program` (found as CreateProcessA finds it: the program's folder, the system
// folders, the PATH) on `path` (empty: the program alone) and lets it run on its own.
// Fails when it cannot be started, with Windows' reason.
Status StartNotepad(const std::string& path, const std::string& program = kNotepadProgram);

}  // namespace vk930
