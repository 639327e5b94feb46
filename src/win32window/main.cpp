// vk930config.exe: the Win32 window on the core's application layer.
#include <windows.h>
// The common controls need the definitions of windows.h first.
#include <commctrl.h>

#include "core/forms/menu_template.h"
#include "platform/win32/document_type.h"
#include "win32window/command_line.h"
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
    // Opening .pcg files from Explorer is a convenience: the program works without it, so a
    // user's classes that cannot be written stop nothing.
    (void)RegisterDocumentType(ProgramPath());
    Win32AppOptions options;
    options.link = line->link;
    options.file = line->file;
    Win32App app(module, std::move(options));
    if (!app.Start()) return 1;
    app.Show(show == SW_SHOWDEFAULT ? SW_SHOW : show);
    return app.RunMessageLoop();
}
