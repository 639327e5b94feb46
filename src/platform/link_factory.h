#pragma once
// What each COM port reaches: the settings' Device1 to Device8 (a device path or a sim spec),
// or one spec for every port when the command line gives --link.
#include <memory>
#include <optional>
#include <string>

#include "core/app/device_spec.h"
#include "core/base/result.h"
#include "core/firmware/upload_procedure.h"
#include "core/link/com_port_names.h"
#include "core/link/port_router.h"
#include "core/settings/settings_backend.h"
#include "core/settings/settings_keys.h"

namespace vk930 {

// The folder an installed package keeps its data in (the boot file): the install prefix's
// share/vk930config.
extern const char* const kSystemDataDir;

// Where this program's firmware uploads look for the boot file: the working directory, then
// the folder of the running program (when a QCoreApplication exists), then kSystemDataDir.
BootFileLookup ProgramBootFileLookup();

// Opens the link of one spec (sim, none or a serial device).
Result<std::unique_ptr<CLinkCtrl>> OpenLink(const std::string& spec,
                                            const BootFileLookup& bootFiles = {});
// The same; a serial link tells onError why its device would not open or went away. A device
// path that does not exist is an error at once.
Result<std::unique_ptr<CLinkCtrl>> OpenLink(const std::string& spec,
                                            const BootFileLookup& bootFiles, LinkErrorSink onError);

// The opener a PortRouter uses.
LinkOpener MakePortOpener(std::optional<std::string> override, SettingsBackendFactory& settings,
                          BootFileLookup bootFiles = ProgramBootFileLookup());
LinkOpener MakePortOpener(std::optional<std::string> override, SettingsBackendFactory& settings,
                          BootFileLookup bootFiles, LinkErrorSink onError);

}  // namespace vk930
