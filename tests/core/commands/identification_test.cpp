#include "core/commands/identification.h"

#include <gtest/gtest.h>

#include "core/forms/form_ids.h"
#include "core/proof/service_record.h"
#include "support/link_fixture.h"

namespace vk930::test {
namespace {

TEST(IdentificationTables, DecodeEveryKnownCodeAndUnknownOnes) {
    EXPECT_EQ(ScannerText(0), "No scanner");
    EXPECT_EQ(ScannerText(1), "SE923");
    EXPECT_EQ(ScannerText(2), "Long range");
    EXPECT_EQ(ScannerText(3), "CCD");
    EXPECT_EQ(ScannerText(4), "2D-imager");
    EXPECT_EQ(ScannerText(5), "Finger print");
    EXPECT_EQ(ScannerText(6), "Unknown");
    EXPECT_EQ(RfidText(0), "No RFID");
    EXPECT_EQ(RfidText(1), "125 kHz");
    EXPECT_EQ(RfidText(2), "13.56MHz (ISO 15693)");
    EXPECT_EQ(RfidText(3), "Unknown");
    EXPECT_EQ(ColorText(0), "Unknown");
    EXPECT_EQ(ColorText(1), "Unknown");
    EXPECT_EQ(ColorText(2), "Blue");
    EXPECT_EQ(ColorText(3), "Gray");
    EXPECT_EQ(DisplayText(1), "Gray 120x64");
    EXPECT_EQ(DisplayText(0), "Unknown");
    EXPECT_EQ(DisplayText(255), "Unknown");
}

TEST(IdentificationTables, TypeLabelAndVersionPoint) {
    EXPECT_EQ(TypeLabel(1, 0, 3), "KD04010003");
    EXPECT_EQ(TypeLabel(4, 2, 2), "KD04040202");
    EXPECT_EQ(TypeLabel(12, 0, 1), "KD040120001");  // codes of 10 or more give three characters
    EXPECT_EQ(VersionWithPoint("14"), "1.4");
    EXPECT_EQ(VersionWithPoint(""), ".");
    EXPECT_EQ(VersionWithPoint("7"), "7.");
    EXPECT_EQ(VersionWithPoint("153"), "1.53");
}

TEST(TerminalIdentityCommId, TheNumberAsTheEditConvertsItAndWhetherItIsPlain) {
    const struct {
        const char* text;
        int commId;
        bool plain;
    } cases[] = {{"57", 57, true},
                 {"65535", 65535, true},
                 {"", 0, false},
                 {" 57", 57, false},
                 {"12abc", 12, false},
                 {"-4", -4, true},
                 {"99999999999", 2147483647, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TerminalIdentity identity;
        SetCommIdFromText(identity, c.text);
        EXPECT_EQ(identity.commIdText, c.text);
        EXPECT_EQ(identity.commId, c.commId);
        EXPECT_EQ(identity.commIdIsNumber, c.plain);
        EXPECT_EQ(RecordableCommId(identity).has_value(), c.plain);
    }
}

// Keeps the records the view makes.
struct RecordsKept : ServiceLogSink {
    Status Append(const ServiceRecord& record) override {
        records.push_back(record);
        return {};
    }
    std::string Path() const override { return "memory"; }
    std::vector<ServiceRecord> records;
};

class IdentificationTest : public BothLinksFixture {
  protected:
    void SetFit(int scanner, int rfid, int color, int display) {
        Terminal().WriteByte(0, 35, scanner);
        Terminal().WriteByte(0, 36, rfid);
        Terminal().WriteByte(0, 37, color);
        Terminal().WriteByte(0, 38, display);
    }
};

TEST_P(IdentificationTest, SuccessfulRunFillsFieldsLogsAndCallsInOrder) {
    UseTerminal("version=14");
    SetFit(4, 2, 2, 1);
    Terminal().WriteByte(0, 1, 0);
    Terminal().WriteByte(0, 2, 57);
    state.comPort = 3;
    View().OnReadDeviceInfo();

    EXPECT_EQ(host.log, (std::vector<LogEntry>{{"Open COM3", 2},
                                               {"Searching VK930 device..", 2},
                                               {"Reading Info OK", 2},
                                               {"Reading eeprom Page:0...", 2},
                                               {"Reading info...", 2},
                                               {"Done", 1}}));
    EXPECT_EQ(Calls(),
              (std::vector<std::string>{
                  "Connect(3,19200)=1", "ReadInfo()=1", "ReadPage0(0,255)=1", "GetDeviceType()=6",
                  "GetVersionText()=\"14\"", "GetCommIdText()=\"57\"", "GetByte(0,35)=4",
                  "GetByte(0,36)=2", "GetByte(0,37)=2", "GetByte(0,38)=1", "Connect(3,0)=0"}));
    EXPECT_EQ(host.texts[id::kType], "KD04040202");
    EXPECT_EQ(host.texts[id::kVersion], "1.4");
    EXPECT_EQ(host.texts[id::kCommId], "57");
    EXPECT_EQ(host.texts[id::kScanner], "2D-imager");
    EXPECT_EQ(host.texts[id::kRfid], "13.56MHz (ISO 15693)");
    EXPECT_EQ(host.texts[id::kColor], "Blue");
    EXPECT_EQ(host.texts[id::kDisplay], "Gray 120x64");
    EXPECT_EQ(host.clockMs, 300);
    EXPECT_EQ(host.beeps, 0);
    // The CommID change offers the next ID.
    EXPECT_EQ(host.texts[id::kNextCommIdButton], "58");
    EXPECT_TRUE(View().Form().Visible(id::kNextCommIdButton));
}

TEST_P(IdentificationTest, UnknownColourStillAddsItsCodeToTheLabel) {
    UseTerminal("");
    SetFit(1, 0, 0, 7);
    View().OnReadDeviceInfo();
    EXPECT_EQ(host.texts[id::kColor], "Unknown");
    EXPECT_EQ(host.texts[id::kDisplay], "Unknown");
    EXPECT_EQ(host.texts[id::kType], "KD04010000");
}

TEST_P(IdentificationTest, PortThatDoesNotOpen) {
    UseTerminal("");
    state.comPort = 0;
    View().Form().SetText(id::kType, "old");
    View().OnReadDeviceInfo();
    EXPECT_EQ(host.log, (std::vector<LogEntry>{{"Cannot open COM0", 0}}));
    EXPECT_EQ(host.beeps, 1);
    EXPECT_EQ(View().Form().Text(id::kType), "old");
    EXPECT_EQ(Calls(), (std::vector<std::string>{"Connect(0,19200)=0"}));
}

TEST_P(IdentificationTest, NoTerminalOnThePortKeepsTheFields) {
    UseTerminal("absent");
    View().Form().SetText(id::kVersion, "9.9");
    View().OnReadDeviceInfo();
    EXPECT_EQ(host.LogTexts(),
              (std::vector<std::string>{"Open COM1", "Searching VK930 device..",
                                        "Connection Failure", "Cannot Read Info from COM1"}));
    EXPECT_EQ(host.log[2].kind, 0);
    EXPECT_EQ(host.log[3].kind, 0);
    EXPECT_EQ(View().Form().Text(id::kVersion), "9.9");
    EXPECT_EQ(Calls(),
              (std::vector<std::string>{"Connect(1,19200)=1", "ReadInfo()=0", "Connect(1,0)=0"}));
    EXPECT_EQ(host.events.back(), "beep");  // after the port is closed
    EXPECT_EQ(host.events[host.events.size() - 2], "link Connect(1,0)=0");
}

TEST_P(IdentificationTest, PageZeroNotRead) {
    UseTerminal("fail=page0");
    View().Form().SetText(id::kType, "old");
    View().OnReadDeviceInfo();
    EXPECT_EQ(host.LogTexts().back(), "Connection Failure");
    EXPECT_EQ(host.log.back().kind, 0);
    EXPECT_EQ(View().Form().Text(id::kType), "old");
    EXPECT_EQ(Calls().back(), "Connect(1,0)=0");
    EXPECT_EQ(host.beeps, 1);
}

TEST_P(IdentificationTest, OtherDeviceTypeBlanksEveryFieldAndOffersCaptionOne) {
    UseTerminal("type=5");
    View().Form().SetText(id::kCommId, "77");
    View().OnReadDeviceInfo();
    EXPECT_EQ(host.log.back(), (LogEntry{"Cannot find VK930 device!", 0}));
    for (int field :
         {id::kType, id::kVersion, id::kScanner, id::kRfid, id::kColor, id::kDisplay, id::kCommId})
        EXPECT_EQ(View().Form().Text(field), " ") << field;
    EXPECT_EQ(View().Form().Text(id::kNextCommIdButton), "1");
    EXPECT_TRUE(View().Form().Visible(id::kNextCommIdButton));
    EXPECT_TRUE(View().Form().Visible(id::kNextCommIdLabel));
    // Here the beep comes before the port is closed.
    EXPECT_EQ(host.events[host.events.size() - 2], "beep");
    EXPECT_EQ(host.events.back(), "link Connect(1,0)=0");
}

// The identity is handed back as numbers, and the form is filled from it: the fields say what
// the value holds.
TEST_P(IdentificationTest, ReturnsTheIdentityTheFormShows) {
    UseTerminal("version=153");
    SetFit(3, 1, 3, 1);
    Terminal().WriteByte(0, 1, 1);
    Terminal().WriteByte(0, 2, 44);
    const Identification identified = ReadDeviceInfo(View().Context());
    ASSERT_TRUE(identified.outcome.ok());
    ASSERT_TRUE(identified.identity);
    const TerminalIdentity& identity = *identified.identity;
    EXPECT_EQ(identity.deviceType, 6);
    EXPECT_EQ(identity.versionText, "153");
    EXPECT_EQ(identity.commId, 300);
    EXPECT_EQ(identity.commIdText, "300");
    EXPECT_EQ(identity.scanner, 3);
    EXPECT_EQ(identity.rfid, 1);
    EXPECT_EQ(identity.color, 3);
    EXPECT_EQ(identity.display, 1);
    EXPECT_EQ(View().Form().Text(id::kVersion), VersionWithPoint(identity.versionText));
    EXPECT_EQ(View().Form().Text(id::kCommId), identity.commIdText);
    EXPECT_EQ(View().Form().Text(id::kType), TypeLabel(3, 1, 3));
    EXPECT_EQ(View().State().nextCommIdOffer, 301);

    // Failures hand back no identity.
    UseTerminal("type=5");
    const Identification other = ReadDeviceInfo(View().Context());
    EXPECT_EQ(other.outcome.outcomeClass, OutcomeClass::kOtherDevice);
    EXPECT_FALSE(other.identity);
    UseTerminal("absent");
    EXPECT_FALSE(ReadDeviceInfo(View().Context()).identity);
}

// The service record takes the identity identification handed back; a device of another type
// leaves only its type.
TEST_P(IdentificationTest, TheRecordKeepsTheIdentityAsIdentified) {
    RecordsKept kept;
    UseTerminal("version=14");
    View().SetRecorder({&kept, nullptr, "test", "1", {}});
    SetFit(4, 2, 2, 1);
    Terminal().WriteByte(0, 2, 57);
    View().OnReadDeviceInfo();
    ASSERT_EQ(kept.records.size(), 1u);
    const RecordedIdentity& seen = kept.records[0].identity;
    EXPECT_EQ(seen.deviceType, 6);
    EXPECT_EQ(seen.version, "14");
    EXPECT_EQ(seen.commIdBefore, 57);
    EXPECT_FALSE(seen.commIdAfter);
    EXPECT_EQ(seen.scanner, 4);
    EXPECT_EQ(seen.rfid, 2);
    EXPECT_EQ(seen.color, 2);
    EXPECT_EQ(seen.display, 1);

    UseTerminal("type=5");
    View().SetRecorder({&kept, nullptr, "test", "1", {}});
    View().OnReadDeviceInfo();
    ASSERT_EQ(kept.records.size(), 2u);
    EXPECT_EQ(kept.records[1].identity.deviceType, 5);
    EXPECT_FALSE(kept.records[1].identity.version);
}

INSTANTIATE_TEST_SUITE_P(Links, IdentificationTest, BothLinks(), LinkKindName);

}  // namespace
}  // namespace vk930::test
