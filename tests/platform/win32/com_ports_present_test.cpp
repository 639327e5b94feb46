// The COM ports among Windows' DOS device names: the list read, and the ports the simulated
// terminals stand behind (run_with_sims.sh links COM3 to COM6) found among them.
#include "platform/win32/com_ports_present.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vk930 {
namespace {

TEST(ComPortsPresent, OnlyComWithANumberIsAPortInNumberOrder) {
    using namespace std::string_literals;
    const std::wstring list = L"C:\0COM10\0NUL\0com3\0COM\0COMX\0COM0\0COM257\0LPT1\0COM3\0COM1\0"s;
    EXPECT_EQ(ComPortNumbers(list), (std::vector<int>{1, 3, 10}));
    EXPECT_TRUE(ComPortNumbers(L"").empty());
    EXPECT_EQ(ComPortNumbers(L"COM2"), std::vector<int>{2});  // the last name without its NUL
}

TEST(ComPortsPresent, ThePortsLinkedToTheSimulatorsAreListed) {
    const std::vector<int> ports = ComPortsPresent();
    for (int port : {3, 4, 5, 6})
        EXPECT_NE(std::find(ports.begin(), ports.end(), port), ports.end()) << "COM" << port;
    EXPECT_TRUE(std::is_sorted(ports.begin(), ports.end()));
}

}  // namespace
}  // namespace vk930
