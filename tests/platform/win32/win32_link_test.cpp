// The link a spec names on Windows: the serial link over a Wine COM port (COM3, a healthy
// vk930-sim; COM9 missing), the in-process terminal, none, and specs that cannot be read.
#include "platform/win32/win32_link.h"

#include <gtest/gtest.h>

namespace vk930 {
namespace {

TEST(Win32Link, AComPortSpecGivesTheSerialLinkThatIdentifiesTheTerminal) {
    std::string reasons;
    Result<std::unique_ptr<CLinkCtrl>> link =
        OpenWin32Link("COM3", {}, [&](const std::string& why) { reasons += why; });
    ASSERT_TRUE(link.ok()) << link.error();
    ASSERT_NE(link.value(), nullptr);
    CLinkCtrl& com3 = *link.value();
    ASSERT_TRUE(com3.Connect(3, kBaudApplication)) << reasons;
    EXPECT_EQ(com3.ReadInfo(), 1);
    EXPECT_EQ(com3.GetDeviceType(), 6);
    com3.Connect(3, 0);
}

TEST(Win32Link, AMissingPortSaysSoWhenItIsConnected) {
    std::string reasons;
    Result<std::unique_ptr<CLinkCtrl>> link =
        OpenWin32Link("COM9", {}, [&](const std::string& why) { reasons += why; });
    ASSERT_TRUE(link.ok()) << link.error();
    EXPECT_FALSE(link.value()->Connect(9, kBaudApplication));
    EXPECT_NE(reasons.find("there is no COM9"), std::string::npos) << reasons;
}

TEST(Win32Link, SimAndNoneAndUnreadableSpecs) {
    Result<std::unique_ptr<CLinkCtrl>> sim = OpenWin32Link("sim?version=15");
    ASSERT_TRUE(sim.ok()) << sim.error();
    ASSERT_TRUE(sim.value()->Connect(1, kBaudApplication));
    EXPECT_EQ(sim.value()->ReadInfo(), 1);
    EXPECT_EQ(sim.value()->GetVersionText(), "15");

    Result<std::unique_ptr<CLinkCtrl>> none = OpenWin32Link("none");
    ASSERT_TRUE(none.ok());
    EXPECT_EQ(none.value(), nullptr);

    Result<std::unique_ptr<CLinkCtrl>> bad = OpenWin32Link("sim?nonsense");
    ASSERT_FALSE(bad.ok());
    EXPECT_NE(bad.error().find("unknown option 'nonsense'"), std::string::npos) << bad.error();
    EXPECT_FALSE(OpenWin32Link("").ok());
}

}  // namespace
}  // namespace vk930
