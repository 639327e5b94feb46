#include <gtest/gtest.h>

#include "core/terminal/boot_wire_terminal.h"
#include "core/terminal/wire_terminal.h"
#include "core/wire/boot_wire.h"
#include "core/wire/wire_protocol.h"

namespace vk930 {
namespace {

class WireServerTest : public ::testing::Test {
  protected:
    WireServerTest() : terminal_(std::move(TerminalModel::Create(TerminalSpec{}).value())) {}
    std::optional<Frame> Ask(std::uint8_t seq, std::uint8_t command, Bytes payload = {}) {
        return server_.Answer({seq, command, std::move(payload)});
    }
    std::unique_ptr<TerminalModel> terminal_;
    std::vector<std::string> done;
    WireServer server_{*terminal_, [this](const std::string& l) { done.push_back(l); }};
};

TEST_F(WireServerTest, AnswersCarryTheSequenceTheCommandAndAStatus) {
    EXPECT_EQ(Ask(4, wire::kReadInfo), (Frame{4, 0x81, {0, 6, 0, '1', '4'}}));
    EXPECT_EQ(Ask(5, wire::kGetDeviceType), (Frame{5, 0x82, {0, 6, 0}}));
    EXPECT_EQ(Ask(5, wire::kGetVersion), (Frame{5, 0x83, {0, '1', '4'}}));
    EXPECT_EQ(Ask(6, wire::kGetCommId), (Frame{6, 0x84, {0, 0, 1}}));
    EXPECT_EQ(Ask(7, 0x3F), (Frame{7, 0xBF, {wire::kStatusUnknownCommand}}));
    EXPECT_EQ(Ask(8, wire::kReadInfo, {1}), (Frame{8, 0x81, {wire::kStatusMalformed}}));
    EXPECT_EQ(Ask(9, wire::kReadPage, {}), (Frame{9, 0x90, {wire::kStatusMalformed}}));
    EXPECT_EQ(Ask(10, wire::kWriteByte, {0, 0, 1, 0}), (Frame{10, 0xA0, {wire::kStatusMalformed}}));
    EXPECT_EQ(Ask(11, wire::kReadPage, {2}), (Frame{11, 0x90, {wire::kStatusRefused}}));
    std::optional<Frame> page = Ask(12, wire::kReadPage, {1});
    ASSERT_TRUE(page);
    ASSERT_EQ(page->payload.size(), 257u);
    EXPECT_EQ(std::string(page->payload.begin() + 1, page->payload.begin() + 6), "VK930");
}

TEST_F(WireServerTest, ARepeatIsAnsweredFromMemoryOnlyWhenTheFirstSendArrived) {
    const Bytes write = {0, 0, 2, 0, 44, 0};  // page 0, offset 2, value 44
    ASSERT_TRUE(Ask(1, wire::kWriteByte, write));
    ASSERT_TRUE(Ask(1, wire::kWriteByte | wire::kRepeatFlag, write));
    EXPECT_EQ(terminal_->WriteByteCount(), 1);
    // The first send of request 2 never arrived: its repeat is done.
    EXPECT_EQ(Ask(2, wire::kWriteByte | wire::kRepeatFlag, {0, 0, 3, 0, 9, 0}),
              (Frame{2, 0xA0, {0}}));
    EXPECT_EQ(terminal_->WriteByteCount(), 2);
    EXPECT_EQ(terminal_->Page(0)[3], 9);
    // Without the flag the same request is new, and is done again.
    ASSERT_TRUE(Ask(2, wire::kWriteByte, {0, 0, 3, 0, 9, 0}));
    EXPECT_EQ(terminal_->WriteByteCount(), 3);
    EXPECT_EQ(done, (std::vector<std::string>{"WriteByte(2,44,0)=1", "WriteByte(3,9,0)=1",
                                              "WriteByte(3,9,0)=1"}));
}

TEST_F(WireServerTest, AVersionTooLongForAFrameIsRefusedNotSentBroken) {
    terminal_->SetVersion(std::string(512, '1'));
    EXPECT_EQ(Ask(1, wire::kReadInfo), (Frame{1, 0x81, {wire::kStatusRefused}}));
    EXPECT_EQ(Ask(2, wire::kGetVersion), (Frame{2, 0x83, {wire::kStatusRefused}}));
    terminal_->SetVersion(std::string(509, '1'));  // the longest READ_INFO carries: 3 + 509 bytes
    std::optional<Frame> info = Ask(3, wire::kReadInfo);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->payload.size(), kMaxPayload);
    EXPECT_EQ(info->payload[0], wire::kStatusOk);
}

TEST(WireTerminal, ActsOutEachWireFaultAtItsRequest) {
    auto model = std::move(TerminalModel::Create(TerminalSpec{}).value());
    auto request = [](std::uint8_t seq) { return EncodeFrame({seq, wire::kReadInfo, {}}); };
    const Bytes answer1 = EncodeFrame({1, 0x81, {0, 6, 0, '1', '4'}});

    WireTerminal plain(*model, WireFaults{});
    EXPECT_EQ(plain.Receive(request(1)).bytes, answer1);

    WireFaults junk;
    junk.junk = true;
    Bytes noisy = JunkBytes();
    noisy.insert(noisy.end(), answer1.begin(), answer1.end());
    EXPECT_EQ(WireTerminal(*model, junk).Receive(request(1)).bytes, noisy);

    WireFaults corrupt;
    corrupt.corruptAt = 2;
    WireTerminal corrupting(*model, corrupt);
    EXPECT_EQ(corrupting.Receive(request(1)).bytes, answer1);
    Bytes bad = corrupting.Receive(request(2)).bytes;
    EXPECT_NE(bad, EncodeFrame({2, 0x81, {0, 6, 0, '1', '4'}}));
    EXPECT_EQ(bad.size(), answer1.size());
    EXPECT_EQ(corrupting.Receive(request(3)).bytes,
              EncodeFrame({3, 0x81, {0, 6, 0, '1', '4'}}));  // once

    WireFaults drop;
    drop.dropAt = 1;
    WireTerminal dropping(*model, drop);
    EXPECT_TRUE(dropping.Receive(request(1)).bytes.empty());
    EXPECT_EQ(dropping.Receive(request(2)).bytes, EncodeFrame({2, 0x81, {0, 6, 0, '1', '4'}}));

    WireFaults stall;
    stall.stallFrom = 2;
    WireTerminal stalling(*model, stall);
    EXPECT_FALSE(stalling.Receive(request(1)).bytes.empty());
    EXPECT_TRUE(stalling.Receive(request(2)).bytes.empty());
    EXPECT_TRUE(stalling.Receive(request(3)).bytes.empty());

    WireFaults hangup;
    hangup.hangupAt = 2;
    WireTerminal hanging(*model, hangup);
    EXPECT_FALSE(hanging.Receive(request(1)).hangup);
    EXPECT_TRUE(hanging.Receive(request(2)).hangup);
}

TEST(BootWireTerminal, TheBootLoadersRequestsCountOnAndSufferTheSameFaults) {
    auto model = std::move(TerminalModel::Create(TerminalSpec{}).value());
    WireFaults faults;
    faults.dropAt = 2;
    faults.hangupAt = 4;
    WireTerminal application(*model, faults);
    EXPECT_FALSE(application.Receive(EncodeFrame({0, wire::kReadInfo, {}})).bytes.empty());

    BootWireTerminal boot(*model, application.Faults());
    ASSERT_TRUE(boot.Waiting());
    EXPECT_EQ(boot.Receive(Bytes{boot::kSync}).bytes, Bytes{boot::kSyncAnswer});  // no request
    const Bytes block = {0, 0, 0, 0, 0xAB};  // address 0, 1 byte
    EXPECT_TRUE(boot.Receive(EncodeFrame({1, boot::kBootBlock, block})).bytes.empty());  // dropped
    const Bytes again =
        boot.Receive(EncodeFrame({1, boot::kBootBlock | wire::kRepeatFlag, block})).bytes;
    EXPECT_EQ(again, EncodeFrame({1, boot::kBootBlock | wire::kAnswerFlag, {wire::kStatusOk}}));
    EXPECT_TRUE(boot.Receive(EncodeFrame({2, boot::kBootRun, {}})).hangup);
    EXPECT_EQ(application.Requests(), 4);
}

TEST(BootWireTerminal, AStalledTerminalAnswersNeitherFramesNorTheSync) {
    auto model = std::move(TerminalModel::Create(TerminalSpec{}).value());
    WireFaults faults;
    faults.stallFrom = 1;
    WireTerminal application(*model, faults);
    EXPECT_TRUE(application.Receive(EncodeFrame({0, wire::kReadInfo, {}})).bytes.empty());
    BootWireTerminal boot(*model, application.Faults());
    EXPECT_TRUE(boot.Receive(Bytes{boot::kSync}).bytes.empty());
}

TEST(WireTerminal, DamagedRequestsAreNotAnswered) {
    auto model = std::move(TerminalModel::Create(TerminalSpec{}).value());
    WireTerminal terminal(*model, WireFaults{});
    Bytes request = EncodeFrame({1, wire::kReset, {}});
    request[4] ^= 0x10;
    EXPECT_TRUE(terminal.Receive(request).bytes.empty());
    EXPECT_EQ(model->ResetCount(), 0);
    EXPECT_EQ(terminal.Requests(), 0);
}

}  // namespace
}  // namespace vk930
