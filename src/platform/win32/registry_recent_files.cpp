#include "platform/win32/registry_recent_files.h"

#include "core/forms/menu_template.h"

namespace vk930 {

namespace {

std::string ReadText(HKEY key, const std::string& name) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    std::string text(size + 1, '\0');  // the stored text may lack its terminator
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                         &size) != ERROR_SUCCESS)
        return {};
    text.resize(text.find('\0'));
    return text;
}

}  // namespace

std::string ProfileSubkey() {
    return std::string("Software\\") + kProfileKey + "\\" + kProfileName;
}

RegistryRecentFiles::RegistryRecentFiles(HKEY root, std::string profile, int size)
    : root_(root), profile_(std::move(profile)), size_(size) {}

std::string RegistryRecentFiles::SectionSubkey() const {
    return profile_ + "\\" + kRecentFileSection;
}

std::vector<std::string> RegistryRecentFiles::RecentFiles() const {
    std::vector<std::string> files;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root_, SectionSubkey().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return files;
    for (int i = 0; i < size_; ++i) {
        std::string file = ReadText(key, RecentFileEntryName(i));
        if (!file.empty()) files.push_back(std::move(file));
    }
    RegCloseKey(key);
    return files;
}

void RegistryRecentFiles::AddRecentFile(const std::string& path) {
    const std::vector<std::string> files = RecentFilesAfterOpening(RecentFiles(), path, size_);
    HKEY key = nullptr;
    if (RegCreateKeyExA(root_, SectionSubkey().c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    for (int i = 0; i < size_; ++i) {
        const std::string name = RecentFileEntryName(i);
        if (i < static_cast<int>(files.size()))
            RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(files[i].c_str()),
                           static_cast<DWORD>(files[i].size() + 1));
        else
            RegDeleteValueA(key, name.c_str());
    }
    RegCloseKey(key);
}

}  // namespace vk930
