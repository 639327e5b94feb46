#include "support/private_folders.h"

#include <unistd.h>

#include <cstdlib>
#include <random>
#include <string>

namespace vk930::test {

namespace fs = std::filesystem;

PrivateFolders::PrivateFolders() {
    std::random_device random;
    const fs::path base = fs::temp_directory_path();
    do {
        root_ = base / ("vk930-home-" + std::to_string(getpid()) + "-" + std::to_string(random()));
    } while (!fs::create_directory(root_));
    const struct {
        const char* variable;
        const char* folder;
    } kFolders[] = {{"XDG_CONFIG_HOME", "config"},
                    {"XDG_DATA_HOME", "data"},
                    {"XDG_STATE_HOME", "state"},
                    {"XDG_RUNTIME_DIR", "runtime"}};
    for (const auto& f : kFolders) {
        const fs::path path = root_ / f.folder;
        fs::create_directory(path);
        // Qt refuses a runtime folder that others may enter.
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::replace);
        setenv(f.variable, path.c_str(), 1);
    }
}

PrivateFolders::~PrivateFolders() {
    std::error_code ec;
    fs::remove_all(root_, ec);
}

}  // namespace vk930::test
