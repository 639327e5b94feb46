#pragma once
// The link a spec names, on Windows: none, the in-process simulated terminal ("sim...",
// as on Linux), or the serial link over a COM port ("COM3", "\\.\COM12"). What a port's
// DeviceN setting says goes through here.
#include <memory>
#include <string>

#include "core/base/result.h"
#include "core/firmware/upload_procedure.h"
#include "core/link/link_ctrl.h"
#include "core/link/port_router.h"

namespace vk930 {

// Opens the link of `spec`: a null link for "none", an error for a spec that cannot be read.
// A COM port is not opened here but by the link's Connect, which tells `onError` why it
// would not open or went away. `bootFiles`: where firmware uploads look for the boot file.
Result<std::unique_ptr<CLinkCtrl>> OpenWin32Link(const std::string& spec,
                                                 const BootFileLookup& bootFiles = {},
                                                 LinkErrorSink onError = {});

}  // namespace vk930
