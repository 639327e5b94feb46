// vk930config.exe: the Win32 window on the core's application layer.
#include <windows.h>
// The common controls need the definitions of windows.h first.
#include <commctrl.h>

#include "core/app/single_instance.h"
#include "core/forms/menu_template.h"
#include "platform/win32/document_type.h"
#include "platform/win32/registry_settings.h"
#include "win32window/command_line.h"
#include "win32window/shell_open.h"
#include "win32window/wide_text.h"
#include "win32window/win32_app.h"

using namespace vk930;

namespace {

void InitControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
}

std::string ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    return Narrow(path);
}

}  // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int show) {
    InitControls();
    Result<Win32CommandLine> line = ParseWin32CommandLine(ProcessArguments());
    if (!line) {
        MessageBoxW(nullptr, Widen(line.error()).c_str(), Widen(kFrameTitle).c_str(),
                    MB_OK | MB_ICONSTOP);
        return 2;
    }
    const std::string channel = InstanceName(SettingsPlace(HKEY_LOCAL_MACHINE, kSettingsSubkey));
    if (OffersFileToRunningWindow(line->file) && HandToRunningWindow(channel, line->file)) return 0;
    // Opening .pcg files from Explorer is a convenience: the program works without it, so a
    // user's classes that cannot be written stop nothing.
    (void)RegisterDocumentType(ProgramPath());
    Win32AppOptions options;
    options.link = line->link;
    options.file = line->file;
    Win32App app(module, std::move(options));
    ShellOpenReceiver shellOpen([&app](const std::string& path) {
        SetForegroundWindow(app.Frame().Window());
        app.OpenDocumentFile(path);
    });
    shellOpen.Listen(channel);
    if (!app.Start()) return 1;
    app.Show(show == SW_SHOWDEFAULT ? SW_SHOW : show);
    return app.RunMessageLoop();
}
