#pragma once
// Helpers of the Win32 window's tests: a hidden frame per test, pumping messages, and a
// helper thread that answers a modal dialog the way a user would.
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "win32window/main_frame.h"

namespace vk930::test {

// A path of the Linux side as Wine's drive Z: names it.
inline std::string OnDriveZ(const std::string& path) {
    return "Z:" + path;
}

// Registers the common controls once per process.
void InitCommonControlsOnce();

// A window's text and class name.
std::string WindowText(HWND window);
std::string ClassName(HWND window);

// Handles the messages waiting on this thread (and drops a WM_QUIT a destroyed frame left).
void PumpMessages();
// Pumps until `done` or about ten seconds passed; false when it never came.
bool PumpUntil(const std::function<bool()>& done);

// Waits (on another thread) for a dialog of this process with `caption` to appear, then
// does `answer` with it; joins when destroyed.
class DialogAnswerer {
  public:
    DialogAnswerer(std::string caption, std::function<void(HWND dialog)> answer);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;
    bool Found() const { return found_; }

  private:
    std::thread thread_;
    std::atomic<bool> found_ = false;
};

// Presses a button of a dialog from another thread (posted: the dialog's own thread runs it).
void PressButton(HWND dialog, int id);

// On a helper thread: waits up to about ten seconds for `done`.
bool WaitFor(const std::function<bool()>& done);
// The text of a dialog's control.
std::string ItemText(HWND dialog, int id);
// The texts of row `row` of a dialog's list view, a column each; empty past the last row.
std::vector<std::string> ListRow(HWND dialog, int id, int row);
// A message box's text: its static controls' (id 0xFFFF on Windows, 100 under Wine).
std::string BoxText(HWND box);
// On a helper thread: a message box (or dialog) `owner` opened, other than `seen`, once it is
// shown; null when none came within about ten seconds.
HWND WaitForOwnedBox(HWND owner, HWND seen = nullptr);

}  // namespace vk930::test
