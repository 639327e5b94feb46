// The Win32 COM port against vk930-sim behind Wine COM ports (run_with_sims.sh sets them
// up): COM3 a healthy terminal, COM4 one that stops answering at its second request, COM5
// and COM6 ones that go away at their second and first request; COM9 does not exist.
#include "platform/win32/win32_serial_port.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/link/link_ctrl.h"
#include "core/wire/boot_wire.h"
#include "core/wire/serial_link.h"
#include "core/wire/wire_frame.h"
#include "core/wire/wire_protocol.h"

namespace vk930 {
namespace {

constexpr Short kHealthyPort = 3;
constexpr Short kStallingPort = 4;
constexpr Short kVanishingPort = 5;
constexpr Short kVanishingAtOnce = 6;
constexpr int kWritesAfterGoing = 50;
constexpr Millis kBootWait{1000};

std::string PortName(Short port) {
    return "COM" + std::to_string(port);
}

// Reads until `wanted` came or `limit` passed; true when it came.
bool ReadUntil(Win32SerialPort& port, std::uint8_t wanted, Millis limit) {
    const Millis until = port.Now() + limit;
    while (port.Now() < until) {
        Result<Bytes> got = port.Read(until - port.Now());
        if (!got) return false;
        for (std::uint8_t byte : *got)
            if (byte == wanted) return true;
    }
    return false;
}

struct LinkOnPort {
    explicit LinkOnPort(Short port)
        : link(std::make_unique<Win32SerialPort>(PortName(port)), WireTimings{},
               [this](const std::string& why) { reasons += why + "\n"; }) {}
    std::string reasons;
    SerialLink link;
};

TEST(Win32SerialPort, APortThatIsNotThereSaysSo) {
    Win32SerialPort port("COM9");
    const Status opened = port.Open(kBaudApplication);
    ASSERT_FALSE(opened.ok());
    EXPECT_TRUE(opened.error().starts_with("there is no COM9")) << opened.error();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.Read(Millis(10)).ok());
}

TEST(Win32SerialPort, TheSerialLinkIdentifiesTheTerminalAt19200) {
    LinkOnPort on(kHealthyPort);
    ASSERT_TRUE(on.link.Connect(kHealthyPort, kBaudApplication)) << on.reasons;
    EXPECT_EQ(on.link.ReadInfo(), 1);
    EXPECT_EQ(on.link.GetDeviceType(), 6);
    EXPECT_EQ(on.link.GetVersionText(), "14");
    EXPECT_TRUE(on.link.ReadPage0(0, 255));
    EXPECT_TRUE(on.link.ReadPage1(0, 255));
    EXPECT_FALSE(on.link.GetCommIdText().empty());
    // A second connect on the open port, as the CommID write does, and a double close.
    EXPECT_TRUE(on.link.Connect(kHealthyPort, kBaudApplication));
    on.link.Connect(kHealthyPort, 0);
    on.link.Connect(kHealthyPort, 0);
    EXPECT_EQ(on.reasons, "");
}

TEST(Win32SerialPort, At4800TheBootLoaderWaitsAndAnswersTheSync) {
    Win32SerialPort port(PortName(kHealthyPort));
    ASSERT_TRUE(port.Open(kBaudBootLoader).ok());
    EXPECT_EQ(port.DeviceBaud(), kBaudBootLoader);
    // The terminal hears only a host at 4800 as its boot loader's.
    EXPECT_TRUE(ReadUntil(port, boot::kWaiting, kBootWait));
    const std::uint8_t sync[] = {boot::kSync};
    ASSERT_TRUE(port.Write(sync).ok());
    EXPECT_TRUE(ReadUntil(port, boot::kSyncAnswer, kBootWait));
    // Back to the application's rate on the same handle: the terminal answers again.
    ASSERT_TRUE(port.SetBaud(kBaudApplication).ok());
    EXPECT_EQ(port.DeviceBaud(), kBaudApplication);
    port.Close();
    EXPECT_FALSE(port.IsOpen());
}

TEST(Win32SerialPort, ATerminalThatStopsAnsweringFailsTheRequestNotTheProgram) {
    LinkOnPort on(kStallingPort);
    ASSERT_TRUE(on.link.Connect(kStallingPort, kBaudApplication));
    EXPECT_EQ(on.link.ReadInfo(), 1);
    EXPECT_FALSE(on.link.ReadPage0(0, 255));
    EXPECT_TRUE(on.link.LastCallFailed());
    EXPECT_FALSE(on.link.ReadPage1(0, 255));
    on.link.Connect(kStallingPort, 0);
}

TEST(Win32SerialPort, ADeviceThatGoesAwayIsReportedAndClosed) {
    LinkOnPort on(kVanishingPort);
    ASSERT_TRUE(on.link.Connect(kVanishingPort, kBaudApplication));
    EXPECT_EQ(on.link.ReadInfo(), 1);
    EXPECT_FALSE(on.link.ReadPage0(0, 255));
    EXPECT_NE(on.reasons.find("failed or was unplugged"), std::string::npos) << on.reasons;
    // Later calls fail at once instead of waiting on a port that is gone.
    EXPECT_FALSE(on.link.ReadPage1(0, 255));
    on.link.Connect(kVanishingPort, 0);
}

TEST(Win32SerialPort, WritingToADeviceThatWentAwaySaysSo) {
    Win32SerialPort port(PortName(kVanishingAtOnce));
    ASSERT_TRUE(port.Open(kBaudApplication).ok());
    const Bytes request = EncodeFrame({1, wire::kReadInfo, {}});
    ASSERT_TRUE(port.Write(request).ok());
    // The device is gone: reads bring nothing, and a write soon fails with the reason.
    Status written;
    for (int i = 0; i < kWritesAfterGoing && written.ok(); ++i) {
        Result<Bytes> read = port.Read(Millis(20));
        if (read.ok()) EXPECT_TRUE(read->empty());
        written = port.Write(request);
    }
    ASSERT_FALSE(written.ok());
    EXPECT_TRUE(written.error().starts_with("COM6 went away (write failed)")) << written.error();
}

}  // namespace
}  // namespace vk930
