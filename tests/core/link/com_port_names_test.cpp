#include "core/link/com_port_names.h"

#include <gtest/gtest.h>

namespace vk930::test {
namespace {

TEST(ComPortNames, WindowsNamesEveryPortInTheDeviceNamespace) {
    EXPECT_EQ(DefaultComDevice(1, DeviceNaming::kWindows), "\\\\.\\COM1");
    EXPECT_EQ(DefaultComDevice(8, DeviceNaming::kWindows), "\\\\.\\COM8");
    EXPECT_EQ(DefaultComDevice(10, DeviceNaming::kWindows), "\\\\.\\COM10");  // only by this name
    EXPECT_EQ(DefaultComDevice(1, DeviceNaming::kLinux), "/dev/ttyS0");
    EXPECT_EQ(DefaultComDevice(8, DeviceNaming::kLinux), "/dev/ttyS7");
}

}  // namespace
}  // namespace vk930::test
