// The link of a spec on Windows.
#include "platform/win32/win32_link.h"

#include "core/terminal/link_spec.h"
#include "core/terminal/sim_factory.h"
#include "core/wire/serial_link.h"
#include "platform/win32/win32_serial_port.h"

namespace vk930 {

Result<std::unique_ptr<CLinkCtrl>> OpenWin32Link(const std::string& text,
                                                 const BootFileLookup& bootFiles,
                                                 LinkErrorSink onError) {
    Result<LinkSpec> spec = ParseLinkSpec(text);
    if (!spec) return Error{spec.error()};
    switch (spec->kind) {
        case LinkSpec::Kind::kNone:
            return std::unique_ptr<CLinkCtrl>();
        case LinkSpec::Kind::kSim:
            return MakeSimLink(spec->sim, bootFiles);
        case LinkSpec::Kind::kDevice:
            break;
    }
    return std::unique_ptr<CLinkCtrl>(
        std::make_unique<SerialLink>(std::make_unique<Win32SerialPort>(spec->devicePath),
                                     WireTimings{}, std::move(onError), bootFiles));
}

}  // namespace vk930
