#pragma once
// The main window on Windows: a sizable frame without minimise and maximise boxes holding
// the main form (template 101) as a child dialog, menu 128 and accelerator table 128. It
// decides nothing: commands, the form timer, dropped files and the close request go to the
// callbacks, which the application layer answers.
#include <windows.h>
// The shell's header needs the definitions of windows.h first.
#include <shellapi.h>

#include <functional>
#include <string>

#include "win32window/link_place.h"
#include "win32window/log_view.h"

namespace vk930 {

inline constexpr wchar_t kFrameClassName[] = L"VK930ConfigFrame";

struct FrameCallbacks {
    // A menu item, accelerator or form control: its id and notification code (0 for menus
    // and accelerators, BN_CLICKED for buttons, EN_CHANGE for the CommID field).
    std::function<void(int id, int code)> command;
    // A pop-up menu is about to open (before its check marks are asked for).
    std::function<void()> menuShown;
    // Whether a menu item carries a check mark, asked each time its pop-up opens.
    std::function<bool(int id)> checked;
    // The form timer's expiry (id 1).
    std::function<void(int timer)> timer;
    // A file dropped on the window.
    std::function<void(const std::string& path)> fileDropped;
    // The close box, Alt+F4 or the system menu's Close: true lets the window go.
    std::function<bool()> mayClose;
};

class MainFrame {
  public:
    MainFrame(HINSTANCE module, FrameCallbacks callbacks);
    ~MainFrame();
    MainFrame(const MainFrame&) = delete;
    MainFrame& operator=(const MainFrame&) = delete;

    // Makes the frame, the form and the log, sized to fit the form; hidden until Show.
    // False (with Windows' reason in LastError) when a window could not be made.
    bool Create();
    void Show(int how);
    // Ends the window; the message loop then returns.
    void Destroy();
    // Runs the message loop until the frame is gone: accelerators first, then the form's
    // keyboard navigation. Returns the exit code of WM_QUIT.
    int RunMessageLoop();

    // "VK930Config - " and the document title.
    void SetDocumentTitle(const std::string& title);
    // While busy, the form's buttons and fields and the menu items take no input, except
    // those that are never dropped (core/app/command_map.h).
    void SetBusy(bool busy);
    // Resizes the frame to fit the form; with shrinkOnly, a dimension in which the frame is
    // already smaller than the form stays as it is.
    void FitToForm(bool shrinkOnly);

    HWND Window() const { return frame_; }
    HWND Form() const { return form_; }
    HMENU Menu() const { return menu_; }
    HACCEL Accelerators() const { return accelerators_; }
    LogView& Log() { return log_; }
    LinkPlace& Link() { return link_; }
    HINSTANCE Module() const { return module_; }
    const std::string& LastError() const { return lastError_; }

  private:
    static LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK FormProcedure(HWND form, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnFrameMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitMenuPopup(HMENU popup);
    void OnDropFiles(HDROP drop);

    HINSTANCE module_;
    FrameCallbacks callbacks_;
    HWND frame_ = nullptr;
    HWND form_ = nullptr;
    HMENU menu_ = nullptr;
    HACCEL accelerators_ = nullptr;
    LogView log_;
    LinkPlace link_;
    std::string lastError_;
};

}  // namespace vk930
