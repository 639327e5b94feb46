// vk930config.exe: the Win32 window on the core. Until the application layer drives it, the
// window answers About, Exit and Close itself and leaves every other command alone.
#include <windows.h>
// The common controls need the definitions of windows.h first.
#include <commctrl.h>

#include "core/forms/form_ids.h"
#include "win32window/main_frame.h"
#include "win32window/template_dialog.h"
#include "win32window/wide_text.h"

using namespace vk930;

namespace {

void InitControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
}

void OnCommand(MainFrame& frame, int command) {
    switch (command) {
        case id::kCmdAbout: {
            AboutDialog about;
            about.RunModal(frame.Window(), frame.Module());
            break;
        }
        case id::kCmdExit:
        case id::kCloseButton:
            frame.Destroy();
            break;
        default:
            break;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int show) {
    InitControls();
    MainFrame* framePointer = nullptr;
    FrameCallbacks callbacks;
    callbacks.command = [&](int command, int) { OnCommand(*framePointer, command); };
    MainFrame frame(module, std::move(callbacks));
    framePointer = &frame;
    if (!frame.Create()) {
        MessageBoxW(nullptr, Widen(frame.LastError()).c_str(), L"VK930Config", MB_OK | MB_ICONSTOP);
        return 1;
    }
    frame.Show(show == SW_SHOWDEFAULT ? SW_SHOW : show);
    return frame.RunMessageLoop();
}
