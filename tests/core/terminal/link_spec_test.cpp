#include "core/terminal/link_spec.h"

#include <gtest/gtest.h>

namespace vk930 {
namespace {

TEST(LinkSpec, ParsesSimWithStateFileAndOptions) {
    Result<LinkSpec> spec = ParseLinkSpec(
        "sim:/tmp/t.bin?type=5&version=21&absent&fail=page1&fail=write:3&"
        "fail=text:2&fail=reset&trace=/tmp/t.log&boot=stage2&junk&corrupt=4&drop=5&stall=6&"
        "hangup=7");
    ASSERT_TRUE(spec.ok()) << spec.error();
    EXPECT_EQ(spec->kind, LinkSpec::Kind::kSim);
    const TerminalSpec& s = spec->sim;
    EXPECT_EQ(s.stateFile, "/tmp/t.bin");
    EXPECT_EQ(s.deviceType, 5);
    EXPECT_EQ(s.version, "21");
    EXPECT_TRUE(s.absent);
    EXPECT_FALSE(s.faults.failPage[0]);
    EXPECT_TRUE(s.faults.failPage[1]);
    EXPECT_EQ(s.faults.failWriteAt, 3);
    EXPECT_EQ(s.faults.failTextAt, 2);
    EXPECT_TRUE(s.faults.failReset);
    EXPECT_EQ(s.traceFile, "/tmp/t.log");
    EXPECT_EQ(s.faults.boot, BootFault::kStage2);
    EXPECT_TRUE(s.wire.junk);
    EXPECT_EQ(s.wire.corruptAt, 4);
    EXPECT_EQ(s.wire.dropAt, 5);
    EXPECT_EQ(s.wire.stallFrom, 6);
    EXPECT_EQ(s.wire.hangupAt, 7);
}

TEST(LinkSpec, DefaultsNoneAndDevices) {
    Result<LinkSpec> sim = ParseLinkSpec("sim");
    ASSERT_TRUE(sim.ok());
    EXPECT_EQ(sim->sim.stateFile, "");
    EXPECT_EQ(sim->sim.deviceType, 6);
    EXPECT_EQ(sim->sim.version, "14");
    EXPECT_EQ(ParseLinkSpec("none")->kind, LinkSpec::Kind::kNone);
    Result<LinkSpec> device = ParseLinkSpec("/dev/ttyUSB0");
    ASSERT_TRUE(device.ok());
    EXPECT_EQ(device->kind, LinkSpec::Kind::kDevice);
    EXPECT_EQ(device->devicePath, "/dev/ttyUSB0");
}

TEST(LinkSpec, BadSpecsAreErrorsNamingTheProblem) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "empty"},
        {"sim?colour=3", "unknown option 'colour'"},
        {"sim?type=abc", "type=N"},
        {"sim?type=99999", "type=N"},
        {"sim?fail=page2", "fail="},
        {"sim?fail=write:0", "write:N"},
        {"sim?fail=write:x", "write:N"},
        {"sim?boot=stage9", "boot="},
        {"sim?absent=1", "takes no value"},
        {"sim?version=", "needs a value"},
        {"sim?trace", "needs a value"},
        {"sim?drop=-1", "drop=N"},
        {"sim:", "STATEFILE"},
        // Huge numbers, odd characters, empty names and values.
        {"sim?corrupt=99999999999999999999", "corrupt=N"},
        {"sim?type=99999999999", "type=N"},
        {"sim?stall=0", "stall=N"},
        {"sim?hangup=+3", "hangup=N"},
        {"sim?type= 5", "type=N"},
        {"sim?type=0x5", "type=N"},
        {"sim?type=5;rm", "type=N"},
        {"sim?=", "unknown option ''"},
        {"sim?=5", "unknown option ''"},
        {"sim?junk=", "takes no value"},
        {"sim?fail=", "unknown fail= value ''"},
        {"sim?fail=reset:1", "unknown fail= value"},
        {"sim?boot=", "unknown boot= value ''"},
        {"sim?version=" + std::string(33, '9'), "at most 32 characters"},
        {"sim:?junk", "STATEFILE"},
        {"sim:/tmp/a b?c.bin?x=1", "unknown option 'c.bin?x'"},  // one '?' starts the options
        {std::string("sim:/tmp/a\0b", 12), "NUL"},
        {std::string("/dev/tty\0S0", 11), "NUL"},
    };
    for (const auto& [text, needle] : cases) {
        Result<LinkSpec> spec = ParseLinkSpec(text);
        ASSERT_FALSE(spec.ok()) << text;
        EXPECT_NE(spec.error().find(needle), std::string::npos) << text << ": " << spec.error();
    }
}

TEST(LinkSpec, OddButHarmlessSpecsAreTakenAsTheySay) {
    // Empty options are skipped; a name that only begins with "sim" is a device path.
    Result<LinkSpec> empty = ParseLinkSpec("sim?&&junk&&");
    ASSERT_TRUE(empty.ok()) << empty.error();
    EXPECT_TRUE(empty->sim.wire.junk);
    EXPECT_TRUE(ParseLinkSpec("sim?").ok());
    Result<LinkSpec> device = ParseLinkSpec("simulator");
    ASSERT_TRUE(device.ok());
    EXPECT_EQ(device->kind, LinkSpec::Kind::kDevice);
    Result<LinkSpec> spaces = ParseLinkSpec("sim:/tmp/a b.bin?version=1 5");
    ASSERT_TRUE(spaces.ok()) << spaces.error();
    EXPECT_EQ(spaces->sim.stateFile, "/tmp/a b.bin");
    EXPECT_EQ(spaces->sim.version, "1 5");
    Result<LinkSpec> longest =
        ParseLinkSpec("sim?version=" + std::string(32, '9') + "&stall=2147483647");
    ASSERT_TRUE(longest.ok()) << longest.error();
    EXPECT_EQ(longest->sim.version.size(), 32u);
    EXPECT_EQ(longest->sim.wire.stallFrom, 2147483647);
}

}  // namespace
}  // namespace vk930
