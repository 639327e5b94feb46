#include "sim/link_spec.h"

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
    const std::pair<const char*, const char*> cases[] = {
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
    };
    for (const auto& [text, needle] : cases) {
        Result<LinkSpec> spec = ParseLinkSpec(text);
        ASSERT_FALSE(spec.ok()) << text;
        EXPECT_NE(spec.error().find(needle), std::string::npos) << text << ": " << spec.error();
    }
}

}  // namespace
}  // namespace vk930
