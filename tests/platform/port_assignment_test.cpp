// What a COM port reaches and what may be assigned to it: by-id names, bare device names,
// specs that do not parse, devices that are not present.
#include "platform/port_assignment.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/port_diagnosis.h"
#include "platform/serial_devices.h"
#include "support/memory_settings.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

namespace fs = std::filesystem;

// A device file and a by-id folder whose link points at it, as udev makes them.
class ByIdFolder : public ::testing::Test {
  protected:
    ByIdFolder() {
        WriteFile(Device(), "");
        fs::create_directories(dir.Path() / "by-id");
        fs::create_symlink(Device(), Stable());
        fs::create_symlink(dir.Path() / "missing", dir.Path() / "by-id" / "usb-Gone-if00");
    }
    std::string Device() const { return dir.File("ttyUSB0"); }
    std::string Stable() const { return dir.File("by-id/usb-FTDI_FT232R_A1-if00-port0"); }
    std::map<std::string, std::string> ById() const { return ByIdNames(dir.File("by-id")); }
    TempDir dir;
};

TEST_F(ByIdFolder, ADevicePathIsAssignedByItsStableName) {
    // A dangling link names no device.
    EXPECT_EQ(ById(), (std::map<std::string, std::string>{{Device(), Stable()}}));
    EXPECT_EQ(ByIdNameOf(Device(), ById()), Stable());
    fs::create_symlink(Device(), dir.Path() / "other-name");
    EXPECT_EQ(ByIdNameOf(dir.File("other-name"), ById()), Stable());
    EXPECT_EQ(ByIdNameOf(dir.File("nothing"), ById()), "");
    EXPECT_TRUE(ByIdNames(dir.File("no-such-folder")).empty());

    Result<Assignment> assigned = PrepareAssignment(Device(), ById());
    ASSERT_TRUE(assigned) << assigned.error();
    EXPECT_EQ(assigned->spec, Stable());
    ASSERT_EQ(assigned->warnings.size(), 1u);
    EXPECT_EQ(assigned->warnings[0], "'" + Device() + "' written as its stable name " + Stable());
    assigned = PrepareAssignment(Stable(), ById());
    ASSERT_TRUE(assigned);
    EXPECT_EQ(assigned->spec, Stable());
    EXPECT_TRUE(assigned->warnings.empty());
}

TEST_F(ByIdFolder, WhatCannotWorkIsRefusedAndAMissingDeviceWarned) {
    for (const char* spec : {"sim?bogus", "ttyUSB0", "COM3", "com12", "sim:"}) {
        const Result<Assignment> refused = PrepareAssignment(spec, ById());
        EXPECT_FALSE(refused) << spec;
    }
    EXPECT_NE(PrepareAssignment("ttyUSB0", ById()).error().find("/dev/ttyUSB0"), std::string::npos);
    for (const char* spec : {"none", "sim", "sim:/x.bin?type=3"}) {
        Result<Assignment> kept = PrepareAssignment(spec, ById());
        ASSERT_TRUE(kept) << spec;
        EXPECT_EQ(kept->spec, spec);
        EXPECT_TRUE(kept->warnings.empty());
    }
    Result<Assignment> missing = PrepareAssignment(dir.File("ttyACM9"), ById());
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->spec, dir.File("ttyACM9"));
    ASSERT_EQ(missing->warnings.size(), 1u);
    EXPECT_NE(missing->warnings[0].find("not present"), std::string::npos);
}

TEST(PortDiagnosis, ABareNameSuggestsTheDevicePath) {
    EXPECT_EQ(SuggestDevicePath("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(SuggestDevicePath("ttyACM1"), "/dev/ttyACM1");
    EXPECT_EQ(SuggestDevicePath("COM3"), "/dev/ttyS2");
    EXPECT_EQ(SuggestDevicePath("com1"), "/dev/ttyS0");
    for (const char* text : {"/dev/ttyUSB0", "./ttyUSB0", "COM", "COM0", "COM3x", "vk0", ""})
        EXPECT_EQ(SuggestDevicePath(text), std::nullopt) << text;
    EXPECT_EQ(DescribeHolder({42, "minicom"}), "process 42 (minicom)");
    EXPECT_EQ(DescribeHolder({42, ""}), "process 42");
    EXPECT_EQ(FindPortHolder("/nowhere/ttyUSB0"), std::nullopt);
}

TEST(PortReachTest, EachKindOfSpecAndItsState) {
    MemorySettings settings;
    settings.texts = {{"Device1", "sim"},       {"Device2", "none"},
                      {"Device3", "sim?bogus"}, {"Device4", "/nowhere/ttyUSB0"},
                      {"Device5", "ttyUSB1"},   {"Device6", "/"}};
    const auto state = [&](int port) {
        return ReachState(DescribePortReach(port, std::nullopt, settings));
    };
    EXPECT_EQ(state(1), "simulated terminal");
    EXPECT_EQ(state(2), "nothing");
    EXPECT_EQ(state(3), "bad");
    EXPECT_FALSE(DescribePortReach(3, std::nullopt, settings).problem.empty());
    EXPECT_EQ(state(4), "missing");
    EXPECT_EQ(DescribePortReach(5, std::nullopt, settings).problem,
              "a device path is meant: /dev/ttyUSB1");
    EXPECT_EQ(state(6), "present");
    EXPECT_EQ(DescribePortReach(4, std::string("none"), settings).spec, "none");

    EXPECT_TRUE(WriteAssignment(settings, 7, "sim:/t.bin"));
    EXPECT_EQ(settings.texts["Device7"], "sim:/t.bin");
    settings.openError = 5;
    EXPECT_FALSE(WriteAssignment(settings, 7, "none"));
    EXPECT_EQ(settings.texts["Device7"], "sim:/t.bin");
}

}  // namespace
}  // namespace vk930::test
