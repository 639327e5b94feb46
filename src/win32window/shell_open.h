#pragma once
// Opening a file in the window that already runs: a second start with a file hands the path
// to it with WM_COPYDATA and ends. The running window keeps a message-only window whose title
// is the channel name of its settings (core/app/single_instance.h), so windows on different
// settings stay apart and a second window never takes over the first one's channel.
#include <windows.h>

#include <functional>
#include <string>

namespace vk930 {

// The settings' place as the channel name is made from: "HKEY_LOCAL_MACHINE\Software\...".
std::string SettingsPlace(HKEY root, const std::string& subkey);

// Hands `file` (an absolute path) to the window serving `channel`; true when it took it,
// false when none serves it or it did not answer within a few seconds.
bool HandToRunningWindow(const std::string& channel, const std::string& file);

class ShellOpenReceiver {
  public:
    using OpenRequest = std::function<void(const std::string& path)>;

    // Made on the GUI thread, whose message loop then serves it; `open` runs there, later
    // than the request itself, so the starting program is never kept waiting by a box.
    explicit ShellOpenReceiver(OpenRequest open);
    ~ShellOpenReceiver();
    ShellOpenReceiver(const ShellOpenReceiver&) = delete;
    ShellOpenReceiver& operator=(const ShellOpenReceiver&) = delete;

    // Serves `channel`; false when another window serves it already (or no window could be
    // made), and this one then takes no requests.
    bool Listen(const std::string& channel);
    bool Listening() const { return window_ != nullptr; }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCopyData(const COPYDATASTRUCT& data);

    OpenRequest open_;
    HWND window_ = nullptr;
};

}  // namespace vk930
