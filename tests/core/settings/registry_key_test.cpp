#include "core/settings/registry_key.h"

#include <gtest/gtest.h>

#include "core/forms/form_ids.h"
#include "support/command_fixture.h"
#include "support/fake_host.h"
#include "support/memory_settings.h"

namespace vk930::test {
namespace {

TEST(RegistryKey, MissingValuesAreWrittenWithTheirDefaults) {
    MemorySettings settings;
    FakeHost host;
    CRegistryKey key(settings, host);
    EXPECT_EQ(key.ReadValue("ComPort", 1), 1);
    EXPECT_EQ(settings.values["ComPort"], 1);
    settings.values["ComPort"] = 5;
    EXPECT_EQ(key.ReadValue("ComPort", 1), 5);
    key.Close();
    EXPECT_FALSE(key.IsOpen());
    EXPECT_TRUE(host.boxes.empty());
}

TEST(RegistryKey, AccessDeniedShowsBothBoxesAndReadsZero) {
    MemorySettings settings;
    settings.openError = 5;
    FakeHost host;
    CRegistryKey key(settings, host);
    EXPECT_EQ(host.boxes, (std::vector<std::pair<std::string, std::string>>{
                              {"er", "5"}, {"5", "RegCreateEx FAIL"}}));
    EXPECT_EQ(key.ReadValue("ComPort", 1), 0);  // not the default
    EXPECT_FALSE(key.WriteValue("ComPort", 3));
    EXPECT_TRUE(settings.values.empty());
}

TEST(RegistryKey, OtherErrorsShowOnlyTheSecondBox) {
    MemorySettings settings;
    settings.openError = 2;
    FakeHost host;
    CRegistryKey key(settings, host);
    EXPECT_EQ(host.boxes,
              (std::vector<std::pair<std::string, std::string>>{{"2", "RegCreateEx FAIL"}}));
}

class SettingsLoadTest : public CommandFixture {};

TEST_F(SettingsLoadTest, FirstStartWritesDefaultsAndLeavesTheEditReadOnly) {
    host.currentDir = "/home/tech";
    View().OnInitialUpdate();
    EXPECT_EQ(settings.values,
              (std::map<std::string, std::int32_t>{{"AllowEditSno", 0}, {"ComPort", 1}}));
    EXPECT_EQ(state.comPort, 1);
    EXPECT_TRUE(View().Form().ReadOnly(id::kCommId));
    EXPECT_FALSE(View().Form().Visible(id::kSetCommIdButton));
    EXPECT_EQ(host.timerMs, 300);
    EXPECT_EQ(state.startDir, "/home/tech");
    EXPECT_EQ(settings.opens, settings.closes);
}

TEST_F(SettingsLoadTest, AllowEditSnoMakesTheEditWritableAndFillsIt) {
    settings.values["AllowEditSno"] = 1;
    View().OnInitialUpdate();
    EXPECT_FALSE(View().Form().ReadOnly(id::kCommId));
    EXPECT_TRUE(View().Form().Visible(id::kSetCommIdButton));
    EXPECT_EQ(View().Form().Text(id::kCommId), "10000");
    EXPECT_EQ(settings.values["commID"], 10000);
    EXPECT_EQ(View().Form().Text(id::kNextCommIdButton), "10001");
}

TEST_F(SettingsLoadTest, StoreThatCannotBeCreatedGivesPortZero) {
    settings.openError = 5;
    View().OnInitialUpdate();
    EXPECT_EQ(state.comPort, 0);
    EXPECT_EQ(host.boxes.size(), 2u);
    for (int port = 1; port <= 8; ++port) EXPECT_FALSE(View().IsComPortChecked(port));
    EXPECT_TRUE(View().Form().ReadOnly(id::kCommId));
}

TEST_F(SettingsLoadTest, TooLongWorkingDirectoryIsNotRecorded) {
    host.currentDir = "/short";
    View().OnInitialUpdate();
    host.currentDir = "/" + std::string(149, 'x');  // 150 characters
    View().OnInitialUpdate();
    EXPECT_EQ(state.startDir, "/short");
}

TEST_F(SettingsLoadTest, ComPortMenuSavesAndChecks) {
    View().OnInitialUpdate();
    View().SelectComPort(5);
    EXPECT_EQ(settings.values["ComPort"], 5);
    EXPECT_TRUE(View().IsComPortChecked(5));
    EXPECT_FALSE(View().IsComPortChecked(1));
    state.comPort = 2;  // as the Get dialog sets it, without saving
    View().OnInitialUpdate();
    EXPECT_EQ(state.comPort, 5);
}

TEST_F(SettingsLoadTest, TimerShowsTheOpenedFileOnlyWhenOneIsOpen) {
    View().OnInitialUpdate();
    View().OnTimer();
    EXPECT_EQ(host.timerMs, -1);
    EXPECT_EQ(host.texts.count(id::kFilePath), 0u);
    state.document.m_nFileOpened = 1;
    state.document.m_strFilePath = "/data/a.pcg";
    View().OnTimer();
    EXPECT_EQ(host.texts[id::kFilePath], "/data/a.pcg");
}

}  // namespace
}  // namespace vk930::test
