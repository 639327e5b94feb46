#include "core/wire/serial_link.h"

#include <gtest/gtest.h>

#include "core/wire/wire_protocol.h"
#include "support/loop_serial_port.h"

namespace vk930::test {
namespace {

// A serial link wired in memory to a simulated terminal of the given sim options.
class SerialLinkTest : public ::testing::Test {
  protected:
    void Use(const std::string& options, std::size_t chunk = 0) {
        Result<LinkSpec> spec = ParseLinkSpec(options.empty() ? "sim" : "sim?" + options);
        ASSERT_TRUE(spec.ok()) << spec.error();
        terminal_ = std::move(TerminalModel::Create(spec->sim).value());
        wire_ = std::make_shared<WireTerminal>(*terminal_, spec->sim.wire,
                                               [this](const std::string& l) { done.push_back(l); });
        auto port = std::make_unique<LoopSerialPort>(wire_, chunk);
        port_ = port.get();
        link_ = std::make_unique<SerialLink>(std::move(port), timings,
                                             [this](const std::string& m) { errors.push_back(m); });
    }
    SerialLink& Link() { return *link_; }
    TerminalModel& Terminal() { return *terminal_; }
    LoopSerialPort& Port() { return *port_; }
    // The longest a request may take on the virtual clock: every attempt's send and time-out.
    Millis Bound(int attempts) const {
        return attempts * (timings.turnaround + 2 * LineTime(kMaxFrameSize, kBaudApplication));
    }

    WireTimings timings;
    std::vector<std::string> done;    // requests the terminal carried out
    std::vector<std::string> errors;  // what the link told the technician

  private:
    std::unique_ptr<TerminalModel> terminal_;
    std::shared_ptr<WireTerminal> wire_;
    LoopSerialPort* port_ = nullptr;
    std::unique_ptr<SerialLink> link_;
};

TEST_F(SerialLinkTest, EveryOperationOverTheWire) {
    Use("version=153&type=6");
    ASSERT_TRUE(Link().Connect(2, 19200));
    EXPECT_EQ(Port().Baud(), 19200);
    EXPECT_EQ(Link().WriteByte(1, 0x12, 0), 1);
    EXPECT_EQ(Link().WriteByte(2, 0x34, 0), 1);
    EXPECT_EQ(Link().GetDeviceType(), 6);  // asked for: no ReadInfo yet
    EXPECT_EQ(Link().GetVersionText(), "153");
    EXPECT_EQ(Link().GetCommIdText(), std::to_string(0x1234));
    EXPECT_EQ(Link().Sends(), 5);
    EXPECT_TRUE(Link().WriteText(0, 1, std::string("AB\0\r", 4)));
    EXPECT_EQ(Link().GetByte(1, 0), 0);  // the copy changes only at the next fetch
    ASSERT_TRUE(Link().ReadPage1(0, 255));
    EXPECT_EQ(Link().GetText(0, 1, 4), std::string("AB\0\r", 4));
    Link().ResetDevice();
    EXPECT_EQ(Terminal().ResetCount(), 1);
    EXPECT_EQ(Link().Sends(), 8);
}

TEST_F(SerialLinkTest, IdentityAndCommIdComeAlongWithReadInfoAndPageZero) {
    Use("version=21&type=6");
    ASSERT_TRUE(Link().Connect(1, 19200));
    EXPECT_EQ(Link().ReadInfo(), 1);
    ASSERT_TRUE(Link().ReadPage0(0, 255));
    const int sends = Link().Sends();
    EXPECT_EQ(Link().GetDeviceType(), 6);
    EXPECT_EQ(Link().GetVersionText(), "21");
    EXPECT_EQ(Link().GetCommIdText(), "1");
    EXPECT_EQ(Link().Sends(), sends);  // nothing more on the wire
    // A write to page 0 may change the CommID: the terminal is asked again.
    EXPECT_EQ(Link().WriteByte(2, 9, 0), 1);
    EXPECT_EQ(Link().GetCommIdText(), "9");
    EXPECT_EQ(Link().Sends(), sends + 2);
    // Closed, nothing answers, whatever was read before.
    Link().Connect(1, 0);
    EXPECT_EQ(Link().GetDeviceType(), -1);
    EXPECT_EQ(Link().GetVersionText(), "");
    EXPECT_EQ(Link().GetCommIdText(), "");
}

TEST_F(SerialLinkTest, RefusalsAndBadArgumentsFailWithTheInterfaceValues) {
    Use("fail=page1&type=-3");
    ASSERT_TRUE(Link().Connect(1, 19200));
    EXPECT_EQ(Link().GetDeviceType(), -3);
    EXPECT_FALSE(Link().ReadPage1(0, 255));
    EXPECT_FALSE(Link().ReadPage0(0, 100));  // only whole pages
    EXPECT_EQ(Link().WriteByte(256, 1, 0), -1);
    EXPECT_EQ(Link().WriteByte(0, 256, 0), -1);
    EXPECT_EQ(Link().WriteByte(0, 1, 2), -1);
    EXPECT_FALSE(Link().WriteText(250, 0, "TOO LONG"));
    EXPECT_FALSE(Link().WriteText(0, 0, std::string(600, 'x')));  // longer than any frame
    EXPECT_EQ(Terminal().Page(0), FactoryPages()[0]);
    EXPECT_TRUE(errors.empty());
}

TEST_F(SerialLinkTest, NothingIsSentUnlessOpenAt19200) {
    Use("");
    EXPECT_EQ(Link().ReadInfo(), 0);
    EXPECT_FALSE(Link().Connect(0, 19200));
    EXPECT_FALSE(Link().Connect(1, 9600));
    ASSERT_TRUE(Link().Connect(1, 4800));
    EXPECT_EQ(Link().GetDeviceType(), -1);
    EXPECT_TRUE(Link().Connect(1, 19200));  // the same port again, at the other baud
    EXPECT_EQ(Port().Opens(), 1);
    EXPECT_EQ(Link().ReadInfo(), 1);
    EXPECT_FALSE(Link().Connect(1, 0));
    EXPECT_FALSE(Link().Connect(1, 0));  // closing twice does no harm
    EXPECT_EQ(Link().WriteByte(1, 1, 0), -1);
    EXPECT_EQ(Link().Sends(), 1);
}

TEST_F(SerialLinkTest, JunkBeforeAnswersIsSkipped) {
    for (std::size_t chunk : {0u, 1u, 3u, 7u}) {
        Use("junk", chunk);
        ASSERT_TRUE(Link().Connect(1, 19200));
        EXPECT_EQ(Link().ReadInfo(), 1) << chunk;
        EXPECT_TRUE(Link().ReadPage1(0, 255)) << chunk;
        EXPECT_EQ(Link().GetText(0, 1, 5), "VK930") << chunk;
        EXPECT_EQ(Link().Sends(), 2) << chunk;  // no repeat needed
    }
}

TEST_F(SerialLinkTest, ADamagedOrLostAnswerIsAskedForOnceMore) {
    for (const char* fault : {"corrupt=2", "drop=2"}) {
        Use(fault);
        done.clear();
        ASSERT_TRUE(Link().Connect(1, 19200));
        EXPECT_EQ(Link().ReadInfo(), 1);
        EXPECT_TRUE(Link().ReadPage0(0, 255)) << fault;
        EXPECT_TRUE(Link().ReadPage1(0, 255)) << fault;
        EXPECT_EQ(Link().GetText(0, 1, 5), "VK930") << fault;
        EXPECT_EQ(Link().Sends(), 4) << fault;
        EXPECT_EQ(done, (std::vector<std::string>{"ReadInfo()=1", "ReadPage0(0,255)=1",
                                                  "ReadPage1(0,255)=1"}))
            << fault;
    }
}

TEST_F(SerialLinkTest, AWriteWhoseAnswerWasLostIsNotDoneTwice) {
    // The second WriteByte the terminal does fails: a repeat done again would be that one.
    Use("drop=1&fail=write:2");
    ASSERT_TRUE(Link().Connect(1, 19200));
    EXPECT_EQ(Link().WriteByte(1, 7, 0), 1);
    EXPECT_EQ(Terminal().WriteByteCount(), 1);
    EXPECT_EQ(Link().WriteByte(2, 8, 0), -1);  // the terminal's own second write fails
    EXPECT_EQ(Terminal().Page(0)[1], 7);
    EXPECT_EQ(Link().Sends(), 3);
}

TEST_F(SerialLinkTest, ANewConversationIsNeverAnsweredFromTheLastOnesMemory) {
    Use("");
    for (int session = 0; session < 2; ++session) {
        ASSERT_TRUE(Link().Connect(1, 19200));
        EXPECT_EQ(Link().WriteByte(3, 9, 0), 1);
        Link().Connect(1, 0);
    }
    EXPECT_EQ(Terminal().WriteByteCount(), 2);
}

TEST_F(SerialLinkTest, AStalledTerminalFailsWithinItsTimeOutAndThenFast) {
    Use("stall=2");
    ASSERT_TRUE(Link().Connect(1, 19200));
    EXPECT_EQ(Link().ReadInfo(), 1);
    Millis start = Port().Now();
    EXPECT_FALSE(Link().ReadPage0(0, 255));
    EXPECT_LE(Port().Now() - start, Bound(kRequestAttempts));
    EXPECT_EQ(Link().Sends(), 1 + kRequestAttempts);
    start = Port().Now();
    EXPECT_FALSE(Link().ReadPage1(0, 255));  // silent: asked once only
    EXPECT_LE(Port().Now() - start, Bound(kAttemptsWhileSilent));
    EXPECT_EQ(Link().Sends(), 1 + kRequestAttempts + kAttemptsWhileSilent);
    EXPECT_EQ(Link().WriteByte(1, 1, 0), -1);
    EXPECT_FALSE(Link().WriteText(1, 1, "X"));
    EXPECT_EQ(Link().GetCommIdText(), "");
    EXPECT_EQ(Link().ReadInfo(), 0);
    EXPECT_EQ(Link().GetDeviceType(), -1);  // what ReadInfo brought is forgotten with it
    EXPECT_EQ(Terminal().WriteByteCount(), 0);
    EXPECT_TRUE(errors.empty());  // a silent terminal is the log's business, not an error
}

TEST_F(SerialLinkTest, AnAbsentTerminalNeverAnswers) {
    Use("absent");
    ASSERT_TRUE(Link().Connect(1, 19200));
    EXPECT_EQ(Link().ReadInfo(), 0);
    EXPECT_EQ(Link().Sends(), kRequestAttempts);
    // Reopening starts afresh: the first request is tried in full again.
    Link().Connect(1, 0);
    ASSERT_TRUE(Link().Connect(1, 19200));
    EXPECT_EQ(Link().ReadInfo(), 0);
    EXPECT_EQ(Link().Sends(), 2 * kRequestAttempts);
}

TEST_F(SerialLinkTest, AVanishedDeviceFailsAtOnceIsReportedAndStaysClosed) {
    Use("hangup=2");
    ASSERT_TRUE(Link().Connect(4, 19200));
    EXPECT_EQ(Link().ReadInfo(), 1);
    EXPECT_FALSE(Link().ReadPage1(0, 255));
    EXPECT_EQ(Link().Sends(), 2);  // no repeat to a device that is gone
    EXPECT_EQ(Link().GetDeviceType(), -1);
    EXPECT_FALSE(Port().IsOpen());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "COM4: loop: the serial device failed or was unplugged");
    EXPECT_EQ(Link().ReadPage0(0, 255), false);
    EXPECT_EQ(Link().Sends(), 2);
    EXPECT_TRUE(Link().Connect(4, 19200) == false);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[1], "COM4: loop: No such file or directory");
}

TEST_F(SerialLinkTest, LastCallFailedTellsWhetherTheLastRequestWasConfirmed) {
    Use("stall=3");
    EXPECT_TRUE(Link().LastCallFailed() == false);
    Link().ResetDevice();  // no port open: nothing sent, and not confirmed
    EXPECT_TRUE(Link().LastCallFailed());
    ASSERT_TRUE(Link().Connect(1, 19200));
    EXPECT_FALSE(Link().LastCallFailed());
    Link().ResetDevice();
    EXPECT_FALSE(Link().LastCallFailed());
    EXPECT_EQ(Link().ReadInfo(), 1);
    EXPECT_EQ(Link().GetDeviceType(), 6);  // from ReadInfo's answer: no request, no failure
    EXPECT_FALSE(Link().LastCallFailed());
    Link().ResetDevice();  // the third request: the terminal has stalled
    EXPECT_TRUE(Link().LastCallFailed());
    EXPECT_EQ(Link().GetByte(0, 2), 0);  // from the copy: leaves the answer as it was
    EXPECT_TRUE(Link().LastCallFailed());
    EXPECT_EQ(Terminal().ResetCount(), 1);
}

TEST_F(SerialLinkTest, PortZeroReleasesTheOpenPort) {
    Use("");
    ASSERT_TRUE(Link().Connect(1, 4800));
    EXPECT_FALSE(Link().Connect(0, 4800));  // how the firmware run ends
    EXPECT_FALSE(Port().IsOpen());
    EXPECT_EQ(Link().ReadInfo(), 0);
    EXPECT_EQ(Link().Sends(), 0);
}

TEST_F(SerialLinkTest, AStaleAnswerIsNotTakenForTheNextOne) {
    Use("");
    ASSERT_TRUE(Link().Connect(1, 19200));
    EXPECT_EQ(Link().ReadInfo(), 1);
    // A late answer to another request, on the line before the next request's answer.
    Port().Inject(EncodeFrame({77, wire::kGetCommId | wire::kAnswerFlag, {0, 0, 5}}));
    EXPECT_EQ(Link().GetCommIdText(), "1");
}

}  // namespace
}  // namespace vk930::test
