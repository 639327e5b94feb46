#include "core/commands/commid.h"

#include <gtest/gtest.h>

#include "core/forms/form_ids.h"
#include "core/settings/registry_key.h"
#include "support/link_fixture.h"

namespace vk930::test {
namespace {

TEST(NextCommIdCaption, IsConvertedNumberPlusOne) {
    EXPECT_EQ(NextCommIdCaption("300"), "301");
    EXPECT_EQ(NextCommIdCaption(""), "1");
    EXPECT_EQ(NextCommIdCaption(" "), "1");
    EXPECT_EQ(NextCommIdCaption("  42abc"), "43");
    EXPECT_EQ(NextCommIdCaption("-5"), "-4");
    EXPECT_EQ(NextCommIdCaption("2147483647"), "2147483648");  // no overflow
    EXPECT_EQ(NextCommIdCaption("99999999999999"), "2147483648");
}

class CommIdTest : public BothLinksFixture {};

TEST_P(CommIdTest, WritesBothBytesResetsIdentifiesAndRemembers) {
    UseTerminal("");
    View().OnCommIdEdited("300");
    View().OnSetCommId();

    const PageBytes page = Page(0);
    EXPECT_EQ(page[1], 1);
    EXPECT_EQ(page[2], 44);
    EXPECT_EQ(ResetCount(), 1);
    EXPECT_EQ(settings.values["commID"], 300);
    EXPECT_EQ(View().Form().Text(id::kCommId), "300");
    EXPECT_EQ(View().Form().Text(id::kNextCommIdButton), "301");
    EXPECT_EQ(host.clockMs, 4000 + 300);
    const std::vector<std::string> expectedStart = {
        "Connect(1,19200)=1", "ReadInfo()=1",       "WriteByte(1,1,0)=1", "WriteByte(2,44,0)=1",
        "ResetDevice()",      "Connect(1,19200)=1", "ReadInfo()=1",       "ReadPage0(0,255)=1"};
    ASSERT_GE(Calls().size(), expectedStart.size());
    EXPECT_EQ(std::vector<std::string>(Calls().begin(), Calls().begin() + expectedStart.size()),
              expectedStart);
    // identification closes, then the command closes again
    EXPECT_EQ(Calls()[Calls().size() - 2], "Connect(1,0)=0");
    EXPECT_EQ(Calls().back(), "Connect(1,0)=0");
    EXPECT_EQ(host.LogTexts()[3], "commID written successful. Resetting...");
    EXPECT_EQ(host.log.back(), (LogEntry{"Done", 1}));
}

TEST_P(CommIdTest, IdAboveSixteenBitsWritesLowBitsAndStoresWholeNumber) {
    UseTerminal("");
    View().OnCommIdEdited("70000");  // 0x11170
    View().OnSetCommId();
    EXPECT_EQ(Page(0)[1], 0x11);
    EXPECT_EQ(Page(0)[2], 0x70);
    EXPECT_EQ(settings.values["commID"], 70000);
}

TEST_P(CommIdTest, EmptyEditHidesTheOfferAndWritesZero) {
    UseTerminal("");
    View().OnCommIdEdited("5");
    EXPECT_TRUE(View().Form().Visible(id::kNextCommIdButton));
    View().OnCommIdEdited("");
    EXPECT_FALSE(View().Form().Visible(id::kNextCommIdButton));
    EXPECT_FALSE(View().Form().Visible(id::kNextCommIdLabel));
    View().OnSetCommId();
    EXPECT_EQ(Page(0)[1], 0);
    EXPECT_EQ(Page(0)[2], 0);
}

TEST_P(CommIdTest, LowByteFailureKeepsSettingAndDoesNotReset) {
    UseTerminal("fail=write:2");
    settings.values["commID"] = 17;
    View().OnCommIdEdited("300");
    View().OnSetCommId();
    EXPECT_EQ(host.log.back(), (LogEntry{"Cannot write ID!", 0}));
    EXPECT_EQ(settings.values["commID"], 17);
    EXPECT_EQ(ResetCount(), 0);
    EXPECT_EQ(host.events[host.events.size() - 2], "beep");
    EXPECT_EQ(host.events.back(), "link Connect(1,0)=0");
}

TEST_P(CommIdTest, AnUnconfirmedResetIsAFailureButTheWrittenIdIsRemembered) {
    UseTerminal("fail=reset");
    View().OnCommIdEdited("300");
    View().OnSetCommId();
    EXPECT_EQ(host.LogTexts(), (std::vector<std::string>{"Open COM1", "Searching VK930 device..",
                                                         "Reading Info OK", "Connection Failure"}));
    EXPECT_EQ(host.log.back().kind, 0);
    EXPECT_EQ(Page(0)[2], 44);
    EXPECT_EQ(settings.values["commID"], 300);  // the next ID offered is never given out twice
    EXPECT_EQ(Calls(),
              (std::vector<std::string>{"Connect(1,19200)=1", "ReadInfo()=1", "WriteByte(1,1,0)=1",
                                        "WriteByte(2,44,0)=1", "ResetDevice()", "Connect(1,0)=0"}));
    EXPECT_EQ(host.beeps, 1);
    EXPECT_EQ(host.clockMs, 0);  // no wait for a restart that was not confirmed
}

TEST_P(CommIdTest, HighByteFailureIsReportedToo) {
    UseTerminal("fail=write:1");
    View().OnCommIdEdited("300");
    View().OnSetCommId();
    EXPECT_EQ(host.log.back(), (LogEntry{"Cannot write ID!", 0}));
    EXPECT_EQ(ResetCount(), 0);
    EXPECT_EQ(settings.values.count("commID"), 0u);
    for (const std::string& call : Calls()) EXPECT_NE(call.rfind("WriteByte(2,", 0), 0u) << call;
}

TEST_P(CommIdTest, NoAnswerNeitherWritesNorRemembers) {
    UseTerminal("absent");
    View().OnCommIdEdited("300");
    View().OnSetCommId();
    EXPECT_EQ(host.LogTexts(),
              (std::vector<std::string>{"Open COM1", "Searching VK930 device..",
                                        "Connection Failure", "Cannot Read Info from COM1"}));
    EXPECT_EQ(settings.values.count("commID"), 0u);
}

TEST_P(CommIdTest, OtherDeviceTypeIsStillWritten) {
    UseTerminal("type=5");
    View().OnCommIdEdited("9");
    View().OnSetCommId();
    EXPECT_EQ(Page(0)[2], 9);
    EXPECT_EQ(host.log.back(), (LogEntry{"Cannot find VK930 device!", 0}));
    EXPECT_EQ(settings.values["commID"], 9);  // whatever the identification reported
}

TEST_P(CommIdTest, NextButtonNumbersASeries) {
    UseTerminal("");
    settings.values["AllowEditSno"] = 1;
    settings.values["commID"] = 41;
    View().OnInitialUpdate();
    EXPECT_EQ(View().Form().Text(id::kNextCommIdButton), "42");
    View().OnNextCommId();
    EXPECT_EQ(Page(0)[2], 42);
    EXPECT_EQ(settings.values["commID"], 42);
    EXPECT_EQ(View().Form().Text(id::kNextCommIdButton), "43");
    View().OnNextCommId();
    EXPECT_EQ(Page(0)[2], 43);
}

INSTANTIATE_TEST_SUITE_P(Links, CommIdTest, BothLinks(), LinkKindName);

}  // namespace
}  // namespace vk930::test
