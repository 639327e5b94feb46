// The recent-file list in the current user's registry, under Wine.
#include "platform/win32/registry_recent_files.h"

#include <gtest/gtest.h>

#include "platform/win32/registry_test_key.h"

namespace vk930::test {
namespace {

using Files = std::vector<std::string>;

TEST(RegistryRecentFiles, TheProfileIsTheFrameworksKeyOfTheCurrentUser) {
    EXPECT_EQ(ProfileSubkey(), "Software\\Local AppWizard-Generated Applications\\VK930Config");
}

TEST(RegistryRecentFiles, KeepsTheLastFourNewestFirstAsTextValues) {
    RegistryTestKey profile(HKEY_CURRENT_USER);
    RegistryRecentFiles recent(HKEY_CURRENT_USER, profile.Subkey(), 4);
    EXPECT_TRUE(recent.RecentFiles().empty());
    for (const char* file : {"C:\\a.pcg", "C:\\b.pcg", "C:\\c.pcg", "C:\\d.pcg", "C:\\e.pcg"})
        recent.AddRecentFile(file);
    EXPECT_EQ(recent.RecentFiles(), (Files{"C:\\e.pcg", "C:\\d.pcg", "C:\\c.pcg", "C:\\b.pcg"}));
    const auto first = profile.Read("File1", "Recent File List");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(first->bytes, std::string("C:\\e.pcg", 9));  // with its terminating zero
    EXPECT_FALSE(profile.Read("File5", "Recent File List"));
}

TEST(RegistryRecentFiles, ReopeningMovesAFileToTheTopWhateverItsCase) {
    RegistryTestKey profile(HKEY_CURRENT_USER);
    RegistryRecentFiles recent(HKEY_CURRENT_USER, profile.Subkey(), 4);
    for (const char* file : {"C:\\a.pcg", "C:\\Data\\b.pcg", "C:\\c.pcg"})
        recent.AddRecentFile(file);
    recent.AddRecentFile("c:\\data\\B.PCG");
    EXPECT_EQ(recent.RecentFiles(), (Files{"c:\\data\\B.PCG", "C:\\c.pcg", "C:\\a.pcg"}));
    EXPECT_FALSE(profile.Read("File4", "Recent File List"));
}

TEST(RegistryRecentFiles, EntriesWrittenByAnotherProgramAreRead) {
    RegistryTestKey profile(HKEY_CURRENT_USER);
    RegistryRecentFiles recent(HKEY_CURRENT_USER, profile.Subkey(), 4);
    recent.AddRecentFile("C:\\x.pcg");  // creates the section
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (profile.Subkey() + "\\Recent File List").c_str(), 0,
                            KEY_WRITE, &key),
              ERROR_SUCCESS);
    const char text[] = "D:\\y.pcg";
    RegSetValueExA(key, "File3", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    const DWORD number = 7;  // not a file name: left out
    RegSetValueExA(key, "File2", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    RegCloseKey(key);
    EXPECT_EQ(recent.RecentFiles(), (Files{"C:\\x.pcg", "D:\\y.pcg"}));
}

}  // namespace
}  // namespace vk930::test
