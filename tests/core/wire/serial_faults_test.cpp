#include <gtest/gtest.h>

#include <sstream>

#include "core/forms/form_ids.h"
#include "support/link_fixture.h"

namespace vk930::test {
namespace {

// Identification of a factory terminal over the serial link to vk930-sim, with the
// simulator's wire faults.
class SerialFaultsTest : public SerialLinkFixture {
  protected:
    bool LoggedSuccess() const {
        for (const LogEntry& entry : host.log)
            if (entry.kind == kIconSuccess) return true;
        return false;
    }
    // The requests the terminal carried out, from the simulator's trace.
    std::vector<std::string> Done() {
        std::istringstream trace(ReadFile(dir_.File("sim.trace")));
        std::vector<std::string> lines;
        for (std::string line; std::getline(trace, line);) lines.push_back(line);
        return lines;
    }
    // After a failure: a healthy terminal on the same device path, identified through the
    // same link and view, shows the port was released.
    void ExpectHealthyTerminalWorksAfterwards() {
        ReplaceSimulator("");
        host.log.clear();
        ClearCalls();
        View().OnReadDeviceInfo();
        EXPECT_EQ(host.log.back(), (LogEntry{"Done", kIconSuccess}));
        EXPECT_EQ(Calls().front(), "Connect(1,19200)=1");
    }

    const std::vector<LogEntry> successLog_ = {
        {"Open COM1", 2},       {"Searching VK930 device..", 2},
        {"Reading Info OK", 2}, {"Reading eeprom Page:0...", 2},
        {"Reading info...", 2}, {"Done", 1}};
    const std::vector<std::string> successCalls_ = {
        "Connect(1,19200)=1",      "ReadInfo()=1",
        "ReadPage0(0,255)=1",      "GetDeviceType()=6",
        "GetVersionText()=\"14\"", "GetCommIdText()=\"1\"",
        "GetByte(0,35)=1",         "GetByte(0,36)=0",
        "GetByte(0,37)=3",         "GetByte(0,38)=1",
        "Connect(1,0)=0"};
};

TEST_F(SerialFaultsTest, JunkAndASingleDamagedOrLostAnswerLeaveNoTrace) {
    // Requests of an identification: 1 ReadInfo, 2 ReadPage0 (type, version and CommID come
    // with them).
    for (const std::string fault : {"junk", "corrupt=1", "corrupt=2", "drop=1", "drop=2"}) {
        UseTerminal(fault);
        host.log.clear();
        ClearCalls();
        View().OnReadDeviceInfo();
        EXPECT_EQ(host.log, successLog_) << fault;
        EXPECT_EQ(Calls(), successCalls_) << fault;
        EXPECT_EQ(Done(), (std::vector<std::string>{"ReadInfo()=1", "ReadPage0(0,255)=1"}))
            << fault;
        EXPECT_EQ(View().Form().Text(id::kType), "KD04010003") << fault;
        std::remove(dir_.File("sim.trace").c_str());
    }
}

TEST_F(SerialFaultsTest, AStalledTerminalFailsTheCommandAndReleasesThePort) {
    for (int from : {1, 2}) {
        UseTerminal("stall=" + std::to_string(from));
        host.log.clear();
        ClearCalls();
        View().OnReadDeviceInfo();
        EXPECT_FALSE(LoggedSuccess()) << from;
        EXPECT_EQ(host.log.back().kind, kIconFailure) << from;
        EXPECT_EQ(Calls().back(), "Connect(1,0)=0") << from;
        EXPECT_TRUE(LinkErrors().empty()) << from;
        ExpectHealthyTerminalWorksAfterwards();
    }
}

TEST_F(SerialFaultsTest, AVanishedDeviceFailsTheCommandAndIsReported) {
    for (int at : {1, 2}) {
        UseTerminal("hangup=" + std::to_string(at));
        host.log.clear();
        View().OnReadDeviceInfo();
        EXPECT_FALSE(LoggedSuccess()) << at;
        EXPECT_EQ(host.log.back().kind, kIconFailure) << at;
        EXPECT_EQ(Simulator()->Wait(), 0) << Simulator()->Errors();
        ASSERT_FALSE(LinkErrors().empty()) << at;
        EXPECT_NE(LinkErrors().back().find("failed or was unplugged"), std::string::npos);
        ExpectHealthyTerminalWorksAfterwards();
    }
}

TEST_F(SerialFaultsTest, ACommIdWriteWhoseAnswerWasLostIsDoneOnce) {
    // Requests: 1 ReadInfo, 2 WriteByte high, 3 WriteByte low, 4 ResetDevice, ...
    for (const std::string fault : {"drop=2", "drop=3", "corrupt=4"}) {
        UseTerminal(fault);
        host.log.clear();
        View().OnCommIdEdited("300");
        View().OnSetCommId();
        EXPECT_EQ(host.log.back(), (LogEntry{"Done", 1})) << fault;
        EXPECT_EQ(Page(0)[1], 1);
        EXPECT_EQ(Page(0)[2], 44);
        const std::vector<std::string> done = Done();
        ASSERT_GE(done.size(), 4u);
        EXPECT_EQ(std::vector<std::string>(done.begin(), done.begin() + 4),
                  (std::vector<std::string>{"ReadInfo()=1", "WriteByte(1,1,0)=1",
                                            "WriteByte(2,44,0)=1", "ResetDevice()"}))
            << fault;
        EXPECT_EQ(ResetCount(), 1) << fault;
        std::remove(dir_.File("sim.trace").c_str());
    }
}

TEST_F(SerialFaultsTest, ASetRunWhoseResetGoesUnansweredReportsTheFailure) {
    // Requests of the hidden "&Set..." run: 1 ReadInfo, 2 WriteByte (VOLUME), 3 ResetDevice.
    for (const std::string fault : {"stall=3", "hangup=3"}) {
        UseTerminal(fault);
        WriteFile(dir_.File("p.pcg"), "VOLUME:1\r\nEND\r\n");
        state.document.m_strFilePath = dir_.File("p.pcg");
        host = FakeHost{};
        View().OnSetParameters();
        EXPECT_FALSE(LoggedSuccess()) << fault;
        ASSERT_GE(host.log.size(), 2u);
        EXPECT_EQ(
            std::vector<LogEntry>(host.log.end() - 2, host.log.end()),
            (std::vector<LogEntry>{{"Communication failure!", 0}, {"Operation cancelled!", 0}}))
            << fault;
        EXPECT_EQ(host.beeps, 1) << fault;
        EXPECT_EQ(Calls().back(), "Connect(1,0)=0") << fault;
        EXPECT_EQ(Page(0)[16], 1) << fault;  // the write before the reset stays
        EXPECT_EQ(state.rawDump, 0) << fault;
        if (fault.starts_with("hangup")) {
            EXPECT_EQ(Simulator()->Wait(), 0);
        }
        ExpectHealthyTerminalWorksAfterwards();
    }
}

}  // namespace
}  // namespace vk930::test
