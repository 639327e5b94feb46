#pragma once
// The common open and save dialogs (GetOpenFileNameA, GetSaveFileNameA) for a request.
#include <windows.h>

#include <functional>

#include "core/commands/host.h"

namespace vk930 {

// How the window asks for a file; tests give one that answers without a dialog.
using FileDialogRunner = std::function<FileDialogAnswer(const FileDialogRequest&, HWND owner)>;

// The platform's dialog: the request's single filter entry (when it has one), its initial
// name and default extension; the read-only box hidden; a save asks before replacing a file.
FileDialogAnswer RunWin32FileDialog(const FileDialogRequest& request, HWND owner);

}  // namespace vk930
