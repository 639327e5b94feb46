#pragma once
// Every key of the settings store in one table: its name, default, type, who reads and who
// writes it, and the line that describes it. The settings code takes the names and defaults
// from here; vk930ctl --help, its manual page's test and the window's Devices dialog take
// the descriptions.
#include <cstdint>
#include <string>
#include <vector>

namespace vk930 {

// The names, for the code that reads and writes them.
inline constexpr char kValueComPort[] = "ComPort";
inline constexpr char kValueAllowEditSno[] = "AllowEditSno";
inline constexpr char kValueCommId[] = "commID";
inline constexpr char kValueBackupBeforeSet[] = "BackupBeforeSet";
inline constexpr char kValueVerifyAfterSet[] = "VerifyAfterSet";
inline constexpr char kValueDevicePrefix[] = "Device";  // Device1 to Device8
inline constexpr char kValueEditor[] = "Editor";
inline constexpr char kValueRegistry[] = "Registry";

// Their defaults (what a missing value counts as).
inline constexpr std::int32_t kDefaultComPort = 1;
inline constexpr std::int32_t kDefaultAllowEditSno = 0;
inline constexpr std::int32_t kDefaultCommId = 10000;
inline constexpr std::int32_t kDefaultBackupBeforeSet = 1;
inline constexpr std::int32_t kDefaultVerifyAfterSet = 0;

enum class SettingType {
    kNumber,  // a 32-bit number
    kText,    // a text
};

struct SettingsKey {
    std::string name;  // as stored; for the per-port key, "Device1 to Device8"
    SettingType type = SettingType::kNumber;
    std::string defaultValue;  // as text; empty: none (the reader decides, see `meaning`)
    std::string readBy;        // who reads it
    std::string writtenBy;     // who writes it ("" : only the user, in the settings file)
    std::string meaning;       // one line, as --help prints it
    bool perPort = false;      // one key per COM port: kValueDevicePrefix and the port number
};

// The table, in the order --help lists it.
const std::vector<SettingsKey>& SettingsKeyTable();

// The names a user writes: the per-port key as its first and last name ("Device1",
// "Device8"), every other key as it is.
std::vector<std::string> SettingsKeyNames();

// The row of a name ("Device3" finds the per-port row); null when none.
const SettingsKey* FindSettingsKey(const std::string& name);

// "Device1" for port 1.
std::string DeviceSettingName(int port);

}  // namespace vk930
