#pragma once
// The framework profile's recent-file list in the current user's registry:
// Software\Local AppWizard-Generated Applications\VK930Config\Recent File List, REG_SZ
// values "File1" to "File4", as a document program on Windows keeps it.
#include <windows.h>

#include <string>
#include <vector>

#include "core/settings/recent_files.h"

namespace vk930 {

// "Software\Local AppWizard-Generated Applications\VK930Config"
std::string ProfileSubkey();

class RegistryRecentFiles : public RecentFileStore {
  public:
    // `root` a predefined key; `profile` the profile's key under it.
    explicit RegistryRecentFiles(HKEY root = HKEY_CURRENT_USER,
                                 std::string profile = ProfileSubkey(), int size = 4);

    std::vector<std::string> RecentFiles() const override;
    // A list that cannot be written stays as it was; nothing is reported, as nothing shows it.
    void AddRecentFile(const std::string& path) override;

  private:
    std::string SectionSubkey() const;

    HKEY root_;
    std::string profile_;
    int size_;
};

}  // namespace vk930
