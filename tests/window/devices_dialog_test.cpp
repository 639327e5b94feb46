// The Devices dialog of the "COM port" menu: what each COM port reaches, chosen from the
// devices present, the simulated terminal or nothing, and written to the settings.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>

#include "core/forms/dialog_ids.h"
#include "core/forms/form_ids.h"
#include "window/devices_dlg.h"
#include "window/main_frame.h"
#include "window_fixture.h"

namespace vk930::test {
namespace {

class DevicesDialogTest : public WindowTest {};

QComboBox* Choice(QWidget* dialog, int port) {
    return dialog->findChild<QComboBox*>(QStringLiteral("deviceCOM%1").arg(port));
}

QStringList Entries(QComboBox* choice) {
    QStringList entries;
    for (int i = 0; i < choice->count(); ++i) entries << choice->itemText(i);
    return entries;
}

// Each port's choice says which settings key it writes, in the words of the table of keys.
TEST_F(DevicesDialogTest, EachChoiceNamesItsSettingsKey) {
    std::array<std::string, kPortCount> current;
    current.fill("none");
    CDevicesDlg dialog(current, {}, "sim:/x.bin", std::nullopt);
    for (int port = 1; port <= kPortCount; ++port) {
        ASSERT_NE(Choice(&dialog, port), nullptr) << port;
        EXPECT_EQ(Choice(&dialog, port)->toolTip(),
                  QStringLiteral("Device%1: what each COM port reaches (a link spec)").arg(port));
    }
}

TEST_F(DevicesDialogTest, OffersTheDevicesPresentTheSimulatorAndNothing) {
    const std::vector<SerialDevice> devices = {
        {"/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0", "FT232R", "0403:6001"},
        {"/dev/ttyS4", "", "", ""},
    };
    std::array<std::string, 8> current;
    for (int i = 0; i < 8; ++i) current[i] = "/dev/ttyS" + std::to_string(i);
    current[1] = "/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0";
    current[2] = "sim:/x.bin";
    current[3] = "none";
    current[4] = "/dev/ttyS4";
    CDevicesDlg dialog(current, devices, "sim:/x.bin", std::nullopt);
    for (int port = 1; port <= 8; ++port) ASSERT_NE(Choice(&dialog, port), nullptr) << port;
    // A port keeps what it reaches now, offered first when it is not among the choices.
    EXPECT_EQ(
        Entries(Choice(&dialog, 1)),
        QStringList({"/dev/ttyS0", "/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0  (FT232R)",
                     "/dev/ttyS4", "Simulated terminal", "Nothing"}));
    EXPECT_EQ(Choice(&dialog, 1)->currentIndex(), 0);
    EXPECT_EQ(Choice(&dialog, 2)->currentText(),
              "/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0  (FT232R)");
    EXPECT_EQ(Choice(&dialog, 3)->currentText(), "Simulated terminal");
    EXPECT_EQ(Choice(&dialog, 4)->currentText(), "Nothing");
    EXPECT_EQ(Choice(&dialog, 5)->currentText(), "/dev/ttyS4");
    EXPECT_EQ(Choice(&dialog, 5)->count(), 4);
    EXPECT_TRUE(dialog.Changes().empty());

    Choice(&dialog, 1)->setCurrentText("Nothing");
    Choice(&dialog, 3)->setCurrentIndex(0);  // the by-id device
    Choice(&dialog, 8)->setCurrentText("Simulated terminal");
    EXPECT_EQ(dialog.Changes(), (std::vector<std::pair<int, std::string>>{
                                    {1, "none"},
                                    {3, "/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0"},
                                    {8, "sim:/x.bin"}}));
    EXPECT_EQ(dialog.findChild<QLabel*>("overrideNote"), nullptr) << "no note without --link";
    CDevicesDlg overridden(current, devices, "sim:/x.bin", std::string("sim"));
    ASSERT_NE(overridden.findChild<QLabel*>("overrideNote"), nullptr);
    EXPECT_TRUE(overridden.findChild<QLabel*>("overrideNote")->text().startsWith("--link sim "));
}

// From the menu: the choices are written as DeviceN; ports left alone are not written.
TEST_F(DevicesDialogTest, TheMenuItemWritesTheChoicesAndCancelWritesNothing) {
    WriteSetting("Device2", "none");
    Start(WindowOptions{});
    QAction* devices = app->Frame().MenuCommand(id::kCmdDevices);
    ASSERT_NE(devices, nullptr);
    QStringList offered;
    {
        ModalAnswerer answerer({Inspect(
            [&](QWidget* dialog) {
                offered = Entries(Choice(dialog, 2));
                Choice(dialog, 2)->setCurrentText("Simulated terminal");
                Choice(dialog, 5)->setCurrentText("Nothing");
            },
            ClickControl(id::kOk))});
        devices->trigger();
        EXPECT_EQ(answerer.Answered(), 1);
        EXPECT_EQ(answerer.Unexpected(), 0);
    }
    EXPECT_TRUE(offered.contains("Simulated terminal"));
    EXPECT_TRUE(offered.contains("Nothing"));
    EXPECT_TRUE(ReadSetting("Device2").toString().startsWith("sim:"));
    EXPECT_TRUE(ReadSetting("Device2").toString().endsWith("/VK930Config/terminal.bin"));
    EXPECT_EQ(ReadSetting("Device5").toString(), "none");
    EXPECT_FALSE(ReadSetting("Device1").isValid()) << "an unchanged port is not written";

    // A Cancel writes nothing.
    ModalAnswerer cancel(
        {Inspect([&](QWidget* dialog) { Choice(dialog, 1)->setCurrentText("Nothing"); },
                 ClickControl(id::kCancel))});
    devices->trigger();
    EXPECT_EQ(cancel.Answered(), 1);
    EXPECT_FALSE(ReadSetting("Device1").isValid());
}

}  // namespace
}  // namespace vk930::test
