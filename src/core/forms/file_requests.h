#pragma once
// The file dialogs the modal dialogs open, as every window asks them: the firmware file of
// dialog 138 ("Open FW file...") and the parameter file of dialog 131 ("&Save Parameters to...").
#include "core/commands/host.h"

namespace vk930 {

FileDialogRequest FirmwareFileRequest();
FileDialogRequest ParameterFileSaveRequest();

}  // namespace vk930
