#include "core/link/port_router.h"

#include <gtest/gtest.h>

#include "core/terminal/sim_factory.h"

namespace vk930 {
namespace {

TEST(PortRouter, EachPortReachesItsOwnTerminalAndKeepsIt) {
    int opened = 0;
    PortRouter router(
        [&](Short port) -> Result<std::unique_ptr<CLinkCtrl>> {
            ++opened;
            TerminalSpec spec;
            spec.deviceType = port;  // tells the terminals apart
            return MakeSimLink(spec);
        },
        nullptr);
    ASSERT_TRUE(router.Connect(2, 19200));
    EXPECT_EQ(router.GetDeviceType(), 2);
    EXPECT_EQ(router.WriteByte(3, 77, 0), 1);
    router.Connect(2, 0);
    EXPECT_EQ(router.GetDeviceType(), -1);  // closed: nothing answers
    ASSERT_TRUE(router.Connect(5, 19200));
    EXPECT_EQ(router.GetDeviceType(), 5);
    ASSERT_TRUE(router.Connect(2, 19200));  // switching ports closes the other
    ASSERT_TRUE(router.ReadPage0(0, 255));
    EXPECT_EQ(router.GetByte(0, 3), 77);  // same terminal as before
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(router.Connect(2, 19200));  // already open: still TRUE
}

TEST(PortRouter, ClosedPortFailsEveryOperation) {
    PortRouter router([](Short) { return MakeSimLink(TerminalSpec{}); }, nullptr);
    EXPECT_EQ(router.ReadInfo(), 0);
    EXPECT_EQ(router.GetDeviceType(), -1);
    EXPECT_FALSE(router.ReadPage0(0, 255));
    EXPECT_FALSE(router.ReadPage1(0, 255));
    EXPECT_EQ(router.WriteByte(1, 1, 0), -1);
    EXPECT_FALSE(router.WriteText(0, 1, "X"));
    EXPECT_EQ(router.GetVersionText(), "");
    EXPECT_EQ(router.GetCommIdText(), "");
    EXPECT_EQ(router.GetText(0, 0, 5), "");
    EXPECT_FALSE(router.Connect(1, 0));  // closing a closed port is harmless
    EXPECT_FALSE(router.Connect(0, 19200));
}

TEST(PortRouter, ConfigurationErrorIsReportedAndConnectFails) {
    std::string reported;
    PortRouter router([](Short) -> Result<std::unique_ptr<CLinkCtrl>> { return Error{"bad spec"}; },
                      [&](const std::string& m) { reported = m; });
    EXPECT_FALSE(router.Connect(4, 19200));
    EXPECT_EQ(reported, "COM4: bad spec");
}

TEST(PortRouter, NullLinkMeansNothingOnThePort) {
    PortRouter router([](Short) { return Result<std::unique_ptr<CLinkCtrl>>(nullptr); }, nullptr);
    EXPECT_FALSE(router.Connect(1, 19200));
}

}  // namespace
}  // namespace vk930
