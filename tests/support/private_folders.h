#pragma once
// The configuration, data, state and runtime folders of one test process: made fresh at its start,
// named by its process id, and removed at its end, so that tests running side by side never
// share a settings file, a recent-file profile or a local socket.
#include <filesystem>

namespace vk930::test {

class PrivateFolders {
  public:
    // Creates the folders and points XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_STATE_HOME and
    // XDG_RUNTIME_DIR at them; call before anything (Qt above all) reads those variables.
    PrivateFolders();
    ~PrivateFolders();
    PrivateFolders(const PrivateFolders&) = delete;
    PrivateFolders& operator=(const PrivateFolders&) = delete;

  private:
    std::filesystem::path root_;
};

}  // namespace vk930::test
