#pragma once
// The in-process simulated terminal of a sim spec, with its trace.
#include <memory>

#include "core/base/result.h"
#include "core/firmware/upload_procedure.h"
#include "core/link/link_ctrl.h"
#include "core/terminal/link_spec.h"

namespace vk930 {

// The in-process link of a sim spec, wrapped in a trace when the spec asks for one.
// `bootFiles`: where its firmware uploads look for the boot file.
Result<std::unique_ptr<CLinkCtrl>> MakeSimLink(const TerminalSpec& spec,
                                               const BootFileLookup& bootFiles = {});

// Puts a trace around any link when traceFile is set; an error when the file cannot be written.
Result<std::unique_ptr<CLinkCtrl>> WithTrace(std::unique_ptr<CLinkCtrl> link,
                                             const std::string& traceFile);

}  // namespace vk930
