// What the commands report as progress (the CommID write's wait, the lines a Set run has
// applied, the upload's bytes), and the fixed texts the window sizes its controls for.
#include "core/commands/progress.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/commands/firmware_commands.h"
#include "core/commands/fixed_texts.h"
#include "core/commands/validation.h"
#include "core/forms/form_ids.h"
#include "core/params/parameter_table.h"
#include "support/command_fixture.h"
#include "support/link_fixture.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

using std::chrono::milliseconds;

TEST(TimeLeftText, AtTheRateSoFar) {
    EXPECT_EQ(TimeLeftText(0, 100, milliseconds(0)), "-:--");
    EXPECT_EQ(TimeLeftText(0, 100, milliseconds(500)), "-:--");
    EXPECT_EQ(TimeLeftText(25, 100, milliseconds(10000)), "0:30");
    EXPECT_EQ(TimeLeftText(1, 100, milliseconds(2000)), "3:18");
    EXPECT_EQ(TimeLeftText(100, 100, milliseconds(5000)), "0:00");
    EXPECT_EQ(TimeLeftText(120, 100, milliseconds(5000)), "0:00");
}

class ProgressTest : public BothLinksFixture {};

TEST_P(ProgressTest, CommIdWriteAnnouncesItsRestartWaitBeforeIt) {
    UseTerminal("");
    View().OnCommIdEdited("300");
    View().OnSetCommId();
    EXPECT_EQ(host.progress, (std::vector<ProgressReport>{{ProgressKind::kWait, 0, 4000}}));
    EXPECT_EQ(host.log.back(), (LogEntry{"Done", 1}));  // the log is as it was
}

TEST_P(ProgressTest, SetRunCountsTheLinesItApplied) {
    UseTerminal("");
    TempDir dir;
    const std::string file = dir.File("three.pcg");
    WriteFile(file, "SLEEP:45\nno colon\nVOLUME:2\nEND\nSLEEP:7\n");
    state.document.m_strFilePath = file;
    View().OnSet();
    EXPECT_EQ(host.progress, (std::vector<ProgressReport>{{ProgressKind::kLines, 1, 0},
                                                          {ProgressKind::kLines, 2, 0},
                                                          {ProgressKind::kLines, 3, 0}}));
    EXPECT_EQ(host.log.back(), (LogEntry{"DONE Succesfully!", 1}));
}

INSTANTIATE_TEST_SUITE_P(Links, ProgressTest, BothLinks(), LinkKindName);

class UploadProgressTest : public CommandFixture {
  protected:
    void SetUp() override { bootFiles = {VK930_BOOT_DIR}; }
};

TEST_F(UploadProgressTest, TheLinksUploadReportsReachTheHostUpToTheWholeImage) {
    UseTerminal("");
    Link().SetUploadProgress(UploadProgressTo(host));
    host.firmwareAnswers.push_back({true, VK930_FIRMWARE_DATA_DIR "/hsbt15.a20"});
    View().OnFirmwareUpdate();
    View().OnTimer();
    ASSERT_GE(host.progress.size(), 2u);
    const std::size_t total = host.progress.front().total;
    EXPECT_GT(total, 0u);
    EXPECT_EQ(host.progress.front().done, 0u);
    EXPECT_EQ(host.progress.back().done, total);
    for (std::size_t i = 1; i < host.progress.size(); ++i) {
        EXPECT_EQ(host.progress[i].kind, ProgressKind::kUpload);
        EXPECT_EQ(host.progress[i].total, total);
        EXPECT_GT(host.progress[i].done, host.progress[i - 1].done);
    }
    EXPECT_EQ(host.log.back(), (LogEntry{"REMOVE BATTERIES AND PUT THEM BACK AGAIN", 2}));
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST(FixedTexts, CoverTheUploadStatusesWarningsAndWidestPortTexts) {
    const std::vector<std::string> texts = FixedLogTexts();
    for (int status = -1; status <= 11; ++status)
        for (const UploadLogEntry& entry : UploadStatusEntries(static_cast<Short>(status)))
            EXPECT_TRUE(Contains(texts, entry.text)) << entry.text;
    int warnings = 0;
    for (const ParameterRow& row : ParameterTable()) {
        if (row.warning.empty()) continue;
        ++warnings;
        EXPECT_TRUE(Contains(texts, std::string(row.warning))) << row.warning;
    }
    EXPECT_GE(warnings, 15);
    for (const char* text :
         {"COM8... not available!", "Connected to COM8...", "Cannot Read Info from COM8",
          "Cannot open COM port 8", "commID written successful. Resetting...", "F-key: 10",
          "Warning! F10 text too long, cut to 15 characters"})
        EXPECT_TRUE(Contains(texts, text)) << text;
    EXPECT_TRUE(Contains(FixedFieldTexts(id::kScanner), "Finger print"));
    EXPECT_TRUE(Contains(FixedFieldTexts(id::kScanner), "Unknown"));
    EXPECT_TRUE(Contains(FixedFieldTexts(id::kRfid), "13.56MHz (ISO 15693)"));
    EXPECT_EQ(FixedFieldTexts(id::kType), std::vector<std::string>{"KD04090909"});
    EXPECT_TRUE(FixedFieldTexts(id::kFilePath).empty());
}

}  // namespace
}  // namespace vk930::test
