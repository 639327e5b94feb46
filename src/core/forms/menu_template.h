#pragma once
// The main menu (128), the accelerator table (128) and the shell's strings, as data.
#include <string>
#include <vector>

namespace vk930 {

inline constexpr int kSeparator = 0;

struct MenuItem {
    int id;  // command id; kSeparator for a separator line
    std::string text;
    std::string prompt;  // the string-table prompt of the command (empty when none)
};

struct MenuPopup {
    std::string text;
    std::vector<MenuItem> items;
};

struct Accelerator {
    std::string key;  // in the portable key-sequence form, e.g. "Ctrl+N"
    int id;           // the command it sends
};

const std::vector<MenuPopup>& MainMenuTemplate();
const std::vector<Accelerator>& MainAccelerators();

// The shell's strings (document template string 128 and application title 57344).
inline constexpr char kFrameTitle[] = "VK930Config";
inline constexpr char kFilterName[] = "VK930C Files (*.pcg)";
inline constexpr char kFilterExtension[] = ".pcg";
inline constexpr char kFileTypeName[] = "VK930C Document";
inline constexpr char kProfileName[] = "VK930Config";
inline constexpr char kProfileKey[] = "Local AppWizard-Generated Applications";
inline constexpr int kRecentFileCount = 4;

}  // namespace vk930
