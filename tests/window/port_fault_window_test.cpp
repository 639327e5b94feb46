// A COM port whose device cannot be opened: the window says why in a box, beside the log's
// "Cannot open COM" line.
#include <gtest/gtest.h>
#include <unistd.h>

#include "core/forms/form_ids.h"
#include "platform/qt_serial_port.h"
#include "support/sim_process.h"
#include "window/text.h"
#include "window_fixture.h"

namespace vk930::test {
namespace {

class PortFaultWindowTest : public WindowTest {};

TEST_F(PortFaultWindowTest, ADeviceInUseIsExplainedBesideTheLogLine) {
    const std::string device = dir.File("vk0");
    SimProcess sim(VK930SIM_PATH, device, "sim");
    ASSERT_TRUE(sim.Ready()) << sim.Errors();
    QtSerialPort holder(device);
    ASSERT_TRUE(holder.Open(19200).ok());

    WindowOptions options;
    options.link = device;
    Start(options);
    std::vector<MessageBoxSeen> boxes;
    ModalAnswerer answerer({AcceptMessageBox(boxes)});
    Click(id::kReadDeviceInfoButton);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "VK930Config");
    EXPECT_TRUE(boxes[0].text.startsWith(
        ToQ("COM1: " + device + ": in use by process " + std::to_string(getpid()) + " (")))
        << ToStd(boxes[0].text);
    const std::vector<LogEntry> log = Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().text, "Cannot open COM1");
}

}  // namespace
}  // namespace vk930::test
