#include "core/link/com_port_names.h"

namespace vk930 {

std::string DefaultComDevice(int port, DeviceNaming naming) {
    if (naming == DeviceNaming::kWindows) return "\\\\.\\COM" + std::to_string(port);
    return "/dev/ttyS" + std::to_string(port - 1);
}

}  // namespace vk930
