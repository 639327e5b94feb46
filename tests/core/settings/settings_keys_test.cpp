// The table of settings keys: every key the program reads is in it once, with the default
// the settings code uses.
#include "core/settings/settings_keys.h"

#include <gtest/gtest.h>

#include <set>

#include "core/commands/config_view.h"
#include "core/forms/form_ids.h"
#include "core/link/no_terminal_link.h"
#include "support/fake_host.h"
#include "support/memory_settings.h"

namespace vk930::test {
namespace {

TEST(SettingsKeys, EveryKeyOnceWithItsMeaning) {
    const std::vector<std::string> names = SettingsKeyNames();
    EXPECT_EQ(names, (std::vector<std::string>{"ComPort", "AllowEditSno", "commID",
                                               "BackupBeforeSet", "VerifyAfterSet", "Device1",
                                               "Device8", "Editor", "Registry"}));
    std::set<std::string> rows;
    for (const SettingsKey& key : SettingsKeyTable()) {
        EXPECT_TRUE(rows.insert(key.name).second) << key.name << " twice";
        EXPECT_FALSE(key.meaning.empty()) << key.name;
        EXPECT_FALSE(key.readBy.empty()) << key.name;
        EXPECT_EQ(key.type == SettingType::kNumber, !key.defaultValue.empty()) << key.name;
    }
    ASSERT_NE(FindSettingsKey("Device3"), nullptr);
    EXPECT_TRUE(FindSettingsKey("Device3")->perPort);
    EXPECT_EQ(FindSettingsKey("Device3"), FindSettingsKey("Device8"));
    EXPECT_EQ(FindSettingsKey("Device9"), nullptr);
    EXPECT_EQ(FindSettingsKey("Registry")->type, SettingType::kText);
    EXPECT_EQ(FindSettingsKey("commID")->defaultValue, "10000");
    EXPECT_EQ(DeviceSettingName(4), "Device4");
}

// The defaults the table states are the ones the form's initial update applies.
TEST(SettingsKeys, TheTablesDefaultsAreTheOnesTheSettingsCodeUses) {
    FakeHost host;
    MemorySettings settings;
    settings.values["AllowEditSno"] = 1;
    AppState state;
    state.comPort = 7;
    NoTerminalLink link;
    CVK900ConfigView view(host, link, settings, state);
    view.OnInitialUpdate();
    EXPECT_EQ(std::to_string(state.comPort), FindSettingsKey(kValueComPort)->defaultValue);
    EXPECT_EQ(view.Form().Text(id::kCommId), FindSettingsKey(kValueCommId)->defaultValue);
    EXPECT_EQ(view.Proof().backupBeforeSet,
              FindSettingsKey(kValueBackupBeforeSet)->defaultValue != "0");
    EXPECT_EQ(view.Proof().verifyAfterSet,
              FindSettingsKey(kValueVerifyAfterSet)->defaultValue != "0");
}

}  // namespace
}  // namespace vk930::test
