#include "core/commands/commid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

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

// Cut to its low 16 bits, such an ID would be one that an earlier terminal already carries.
TEST_P(CommIdTest, AnIdThatDoesNotFitIsRefusedBeforeAnythingIsWritten) {
    for (const std::string& typed : {"65536", "70000", "-5", "99999999", "4294967597"}) {
        SCOPED_TRACE(typed);
        UseTerminal("");
        host.log.clear();
        host.beeps = 0;
        host.boxes.clear();
        settings.values.erase("commID");
        ClearCalls();
        const PageBytes before = Page(0);
        View().OnCommIdEdited(typed);
        View().OnSetCommId();
        EXPECT_EQ(host.LogTexts(),
                  (std::vector<std::string>{
                      "Open COM1", "Searching VK930 device..", "Reading Info OK",
                      "CommID " + std::string(typed) + " does not fit the terminal (0 to 65535)"}));
        EXPECT_EQ(host.log.back().kind, 0);
        EXPECT_EQ(host.beeps, 1);
        EXPECT_EQ(Calls(), (std::vector<std::string>{"Connect(1,19200)=1", "ReadInfo()=1",
                                                     "Connect(1,0)=0"}));
        EXPECT_EQ(Page(0), before);
        EXPECT_EQ(ResetCount(), 0);
        EXPECT_EQ(settings.values.count("commID"), 0u);
    }
}

TEST_P(CommIdTest, TheHighestIdIsWrittenAndTheNextIsRefused) {
    UseTerminal("");
    settings.values["AllowEditSno"] = 1;
    settings.values["commID"] = 65534;
    View().OnInitialUpdate();
    View().OnNextCommId();
    EXPECT_EQ(Page(0)[1], 0xFF);
    EXPECT_EQ(Page(0)[2], 0xFF);
    EXPECT_EQ(settings.values["commID"], 65535);
    EXPECT_EQ(View().Form().Text(id::kNextCommIdButton), "65536");
    host.log.clear();
    ClearCalls();
    View().OnNextCommId();
    EXPECT_EQ(host.log.back(),
              (LogEntry{"CommID 65536 does not fit the terminal (0 to 65535)", 0}));
    EXPECT_EQ(settings.values["commID"], 65535);
    EXPECT_EQ(Calls().size(), 3u);  // Connect, ReadInfo, the release
    EXPECT_EQ(Page(0)[2], 0xFF);
}

TEST_P(CommIdTest, AStoredIdTooLargeForTheOfferIsNamedNotItsCutNumber) {
    UseTerminal("");
    settings.values["AllowEditSno"] = 1;
    for (const std::int32_t stored : {999999999, 2147483647}) {
        settings.values["commID"] = stored;
        View().OnInitialUpdate();
        host.log.clear();
        View().OnNextCommId();
        const std::string next = std::to_string(std::int64_t{stored} + 1);
        EXPECT_EQ(host.log.back(),
                  (LogEntry{"CommID " + next +
                                " does not fit the terminal (0 to 65535): the stored ID is " +
                                std::to_string(stored) +
                                " (\"commID\" in the settings); set it to the last ID written "
                                "to a terminal",
                            0}));
        EXPECT_EQ(settings.values["commID"], stored);
        EXPECT_NE(View().LastOutcome().detail.find(std::to_string(stored)), std::string::npos);
    }
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

TEST_P(CommIdTest, TheIdIsRecordedOnceBothBytesAreConfirmedBeforeTheReset) {
    UseTerminal("");
    settings.events = &host.events;
    View().OnCommIdEdited("300");
    View().OnSetCommId();
    const auto at = [&](const std::string& event) {
        return std::find(host.events.begin(), host.events.end(), event) - host.events.begin();
    };
    ASSERT_LT(at("settings commID=300"), static_cast<long>(host.events.size()));
    EXPECT_EQ(at("settings commID=300"), at("link WriteByte(2,44,0)=1") + 1);
    EXPECT_LT(at("settings commID=300"), at("link ResetDevice()"));
    EXPECT_EQ(host.log.back(), (LogEntry{"Done", 1}));
}

// The next-ID button counts on from the store: a store that cannot keep the counter would
// hand out the same IDs again, so nothing is numbered.
TEST_P(CommIdTest, NextIdIsRefusedWhenTheStoreCannotKeepTheCounter) {
    struct Case {
        std::string name;
        std::function<void(MemorySettings&)> breakIt;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"unwritable",
         [](MemorySettings& s) {
             s.setFails = true;
             s.problem = "settings file 'ro.ini' cannot be written";
         },
         "settings file 'ro.ini' cannot be written"},
        {"not opening, no reason given", [](MemorySettings& s) { s.openError = 5; },
         "the settings store does not open (error 5)"},
        {"not a number", [](MemorySettings& s) { s.texts["commID"] = "1O1"; },
         "the stored \"commID\" is not a number: '1O1'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseTerminal("");
        settings = MemorySettings{};
        settings.values["AllowEditSno"] = 1;
        settings.values["commID"] = 100;
        View().OnInitialUpdate();
        c.breakIt(settings);
        if (c.name == "not a number") settings.values.erase("commID");
        host.log.clear();
        host.beeps = 0;
        host.boxes.clear();
        ClearCalls();
        const PageBytes before = Page(0);
        View().OnNextCommId();
        EXPECT_EQ(host.log, (std::vector<LogEntry>{{"Cannot record the CommID: " + c.reason, 0}}));
        EXPECT_EQ(host.beeps, 1);
        EXPECT_TRUE(host.boxes.empty());
        EXPECT_TRUE(Calls().empty());
        EXPECT_EQ(Page(0), before);
        EXPECT_EQ(View().Form().Text(id::kCommId), "100");  // the offer stays where it was
        EXPECT_EQ(View().Form().Text(id::kNextCommIdButton), "101");
    }
}

TEST_P(CommIdTest, TypingAnIdStillWorksWithTheStoresFailureBoxes) {
    UseTerminal("");
    settings.openError = 5;
    View().OnCommIdEdited("300");
    View().OnSetCommId();
    EXPECT_EQ(Page(0)[2], 44);
    EXPECT_EQ(host.log.back(), (LogEntry{"Done", 1}));
    EXPECT_EQ(host.boxes, (std::vector<std::pair<std::string, std::string>>{
                              {"er", "5"}, {"5", "RegCreateEx FAIL"}}));
}

INSTANTIATE_TEST_SUITE_P(Links, CommIdTest, BothLinks(), LinkKindName);

}  // namespace
}  // namespace vk930::test
