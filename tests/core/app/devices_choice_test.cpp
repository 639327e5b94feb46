// The Devices dialog's decisions both windows take from the core: the choices each COM port
// offers and which is selected, which ports changed, and writing them into the settings.
#include "core/app/devices_choice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/app/devices_template.h"
#include "core/forms/dialog_ids.h"
#include "support/memory_settings.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

using Changes = std::vector<std::pair<int, std::string>>;

const std::vector<DeviceOption> kDevices = {
    {"/dev/serial/by-id/usb-FTDI-port0  (FT232R)", "/dev/serial/by-id/usb-FTDI-port0"},
    {"/dev/ttyS4", "/dev/ttyS4"},
};

std::array<std::string, kPortCount> AllNone() {
    std::array<std::string, kPortCount> current;
    current.fill("none");
    return current;
}

std::vector<std::string> Labels(const PortChoice& port) {
    std::vector<std::string> labels;
    for (const DeviceOption& option : port.options) labels.push_back(option.label);
    return labels;
}

TEST(DevicesChoice, EachPortOffersTheDevicesTheSimulatorAndNothingWithWhatItReachesSelected) {
    std::array<std::string, kPortCount> current = AllNone();
    current[0] = "/dev/ttyS0";  // none of the offers: kept, and first
    current[1] = "/dev/serial/by-id/usb-FTDI-port0";
    current[2] = "sim:/x.bin";
    current[4] = "/dev/ttyS4";
    const DevicesChoice choice = MakeDevicesChoice(current, kDevices, "sim:/x.bin", std::nullopt);
    for (int i = 0; i < kPortCount; ++i) {
        EXPECT_EQ(choice.ports[i].port, i + 1);
        EXPECT_EQ(choice.ports[i].settingName, "Device" + std::to_string(i + 1));
    }
    EXPECT_EQ(Labels(choice.ports[0]),
              (std::vector<std::string>{"/dev/ttyS0", "/dev/serial/by-id/usb-FTDI-port0  (FT232R)",
                                        "/dev/ttyS4", "Simulated terminal", "Nothing"}));
    EXPECT_EQ(choice.ports[0].selected, 0);
    EXPECT_EQ(choice.ports[1].selected, 0);
    EXPECT_EQ(choice.ports[2].options[choice.ports[2].selected],
              (DeviceOption{"Simulated terminal", "sim:/x.bin"}));
    EXPECT_EQ(choice.ports[3].options[choice.ports[3].selected], (DeviceOption{"Nothing", "none"}));
    EXPECT_EQ(choice.ports[4].options.size(), 4u);  // its device is among the offers
    EXPECT_TRUE(choice.overrideNote.empty()) << "no note without --link";

    const DevicesChoice overridden = MakeDevicesChoice(current, {}, "sim:/x.bin", "COM3");
    EXPECT_EQ(overridden.overrideNote,
              "--link COM3 reaches every port until the program ends; these choices count "
              "from the next start.");
    EXPECT_EQ(Labels(overridden.ports[3]),
              (std::vector<std::string>{"Simulated terminal", "Nothing"}));
}

TEST(DevicesChoice, OnlyPortsChosenToReachSomethingElseChange) {
    const DevicesChoice choice = MakeDevicesChoice(AllNone(), kDevices, "sim:/x.bin", std::nullopt);
    std::array<int, kPortCount> selected{};
    for (int i = 0; i < kPortCount; ++i) selected[i] = choice.ports[i].selected;
    EXPECT_TRUE(ChangedPorts(choice, selected).empty());

    selected[0] = 0;   // the by-id device
    selected[2] = 2;   // the simulator
    selected[5] = 99;  // outside the list: left as it is
    selected[6] = -1;
    EXPECT_EQ(ChangedPorts(choice, selected),
              (Changes{{1, "/dev/serial/by-id/usb-FTDI-port0"}, {3, "sim:/x.bin"}}));
}

TEST(DevicesChoice, ChangesAreWrittenAsDeviceNAndTheSimulatorsFolderIsMadePrivate) {
    TempDir dir;
    const std::string simSpec = SimulatedTerminalSpec(dir.File("data"));
    EXPECT_EQ(
        simSpec,
        "sim:" +
            (std::filesystem::path(dir.File("data")) / "VK930Config" / "terminal.bin").string());
    MemorySettings settings;
    const DevicesApplied applied =
        ApplyDeviceChanges(settings, simSpec, Changes{{2, simSpec}, {5, "none"}});
    EXPECT_TRUE(applied.changed);
    EXPECT_TRUE(applied.problems.empty()) << applied.problems;
    EXPECT_EQ(settings.texts["Device2"], simSpec);
    EXPECT_EQ(settings.texts["Device5"], "none");
    EXPECT_EQ(settings.texts.count("Device1"), 0u) << "an unchanged port is not written";
    const std::filesystem::path folder = std::filesystem::path(dir.File("data")) / "VK930Config";
    ASSERT_TRUE(std::filesystem::is_directory(folder));
#ifndef _WIN32
    EXPECT_EQ(std::filesystem::status(folder).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
#endif
    EXPECT_EQ(CurrentDeviceSpecs(settings)[1], simSpec);
    EXPECT_EQ(CurrentDeviceSpecs(settings)[4], "none");
}

TEST(DevicesChoice, SettingsThatCannotBeWrittenAreNamedPerPortAndNothingCountsAsChanged) {
    MemorySettings settings;
    settings.openError = 5;
    DevicesApplied applied =
        ApplyDeviceChanges(settings, "sim:/x.bin", Changes{{1, "none"}, {4, "COM4"}});
    EXPECT_FALSE(applied.changed);
    EXPECT_EQ(applied.problems,
              "COM1: the settings cannot be opened (error 5)\n"
              "COM4: the settings cannot be opened (error 5)");

    MemorySettings readOnly;
    readOnly.setFails = true;
    applied = ApplyDeviceChanges(readOnly, "sim:/x.bin", Changes{{3, "none"}});
    EXPECT_FALSE(applied.changed);
    EXPECT_EQ(applied.problems, "COM3: the settings cannot be written");
    EXPECT_TRUE(readOnly.texts.empty());

    // A simulator's folder that cannot be made: that port is not set to it.
    TempDir dir;
    test::WriteFile(dir.File("file"), "x");
    const std::string blocked = SimulatedTerminalSpec(dir.File("file"));
    MemorySettings fine;
    applied = ApplyDeviceChanges(fine, blocked, Changes{{2, blocked}, {3, "none"}});
    EXPECT_TRUE(applied.changed);
    EXPECT_EQ(applied.problems.rfind("COM2: ", 0), 0u) << applied.problems;
    EXPECT_EQ(fine.texts.count("Device2"), 0u);
    EXPECT_EQ(fine.texts["Device3"], "none");
}

// Every control inside the dialog, none overlapping another, and the lists where the ports are.
void ExpectLaidOut(const DialogTemplate& dialog) {
    for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
        const DialogControl& a = dialog.controls[i];
        EXPECT_GE(a.x, 0);
        EXPECT_GE(a.y, 0);
        EXPECT_LE(a.x + a.width, dialog.width) << a.caption;
        // A drop-down list's height is its open list's: only its top row counts.
        const int height = a.kind == ControlKind::kComboList ? 12 : a.height;
        EXPECT_LE(a.y + height, dialog.height) << a.caption;
        for (std::size_t j = i + 1; j < dialog.controls.size(); ++j) {
            const DialogControl& b = dialog.controls[j];
            const int bHeight = b.kind == ControlKind::kComboList ? 12 : b.height;
            const bool apart = a.x + a.width <= b.x || b.x + b.width <= a.x ||
                               a.y + height <= b.y || b.y + bHeight <= a.y;
            EXPECT_TRUE(apart) << "'" << a.caption << "' and '" << b.caption << "'";
        }
    }
}

TEST(DevicesChoice, TheTemplateHasARowPerPortWithItsChoicesThenTheNoteAndTheButtons) {
    std::array<std::string, kPortCount> current = AllNone();
    current[6] = "/dev/ttyS6";
    const DevicesChoice choice = MakeDevicesChoice(current, kDevices, "sim:/x.bin", std::nullopt);
    const DialogTemplate dialog = DevicesDialogTemplate(choice);
    EXPECT_EQ(dialog.caption, "Devices");
    EXPECT_EQ(dialog.fontName, "MS Sans Serif");
    ExpectLaidOut(dialog);
    for (const PortChoice& port : choice.ports) {
        const auto list = std::find_if(
            dialog.controls.begin(), dialog.controls.end(),
            [&](const DialogControl& c) { return c.id == id::kDeviceChoice1 + port.port - 1; });
        ASSERT_NE(list, dialog.controls.end()) << port.port;
        EXPECT_EQ(list->kind, ControlKind::kComboList);
        EXPECT_EQ(list->items, Labels(port));
        EXPECT_EQ(list->style & kStyleSorted, 0u) << "the choices keep the core's order";
        EXPECT_EQ((list - 1)->caption, "COM" + std::to_string(port.port));  // its label
    }
    EXPECT_EQ(dialog.controls.back().id, id::kCancel);
    EXPECT_EQ((dialog.controls.end() - 2)->id, id::kOk);

    const DialogTemplate noted =
        DevicesDialogTemplate(MakeDevicesChoice(current, kDevices, "sim:/x.bin", "sim"));
    ExpectLaidOut(noted);
    EXPECT_GT(noted.height, dialog.height);
    EXPECT_EQ((noted.controls.end() - 3)->caption.rfind("--link sim ", 0), 0u);
}

}  // namespace
}  // namespace vk930::test
