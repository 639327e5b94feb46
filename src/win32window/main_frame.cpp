// The main frame, its form and menu.
#include "win32window/main_frame.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "core/app/command_map.h"
#include "core/forms/dialog_ids.h"
#include "core/forms/dialog_template.h"
#include "core/forms/form_ids.h"
#include "core/forms/menu_template.h"
#include "platform/win32/com_port_errors.h"
#include "win32window/dialog_memory.h"
#include "win32window/menus.h"

namespace vk930 {

namespace {

// Sizable with caption and system menu; no minimise or maximise box.
constexpr DWORD kFrameStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_OVERLAPPED;
constexpr char kTitleSeparator[] = " - ";
constexpr char kUntitled[] = "Untitled";

// Every item of the menu and its pop-ups, but those that are never dropped.
void EnableMenuItems(HMENU menu, bool enabled) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU popup = GetSubMenu(menu, i)) {
            EnableMenuItems(popup, enabled);
            continue;
        }
        const UINT item = GetMenuItemID(menu, i);
        if (item == 0 || TakesInputWhileBusy(static_cast<int>(item))) continue;
        EnableMenuItem(menu, static_cast<UINT>(i),
                       MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
    }
}

std::string LastErrorText() {
    return SystemErrorText(GetLastError());
}

}  // namespace

MainFrame::MainFrame(HINSTANCE module, FrameCallbacks callbacks)
    : module_(module), callbacks_(std::move(callbacks)) {}

MainFrame::~MainFrame() {
    Destroy();
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
}

bool MainFrame::Create() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &MainFrame::FrameProcedure;
    windowClass.hInstance = module_;
    windowClass.hIcon = LoadIconW(module_, MAKEINTRESOURCEW(id::kIconApplication));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(module_, MAKEINTRESOURCEW(id::kIconApplication), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kFrameClassName;
    // A second frame in the same process (the tests make several) finds the class there.
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        lastError_ = "cannot register the window class: " + LastErrorText();
        return false;
    }
    menu_ = BuildMainMenu();
    accelerators_ = BuildAccelerators();
    frame_ = CreateWindowExW(0, kFrameClassName, L"", kFrameStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu_, module_, this);
    if (!frame_) {
        lastError_ = "cannot make the main window: " + LastErrorText();
        DestroyMenu(menu_);
        menu_ = nullptr;
        return false;
    }
    const std::vector<DWORD> memory =
        BuildDialogTemplate(MainFormTemplate(), DialogUse::kChildForm);
    form_ = CreateDialogIndirectParamW(module_, reinterpret_cast<const DLGTEMPLATE*>(memory.data()),
                                       frame_, &MainFrame::FormProcedure,
                                       reinterpret_cast<LPARAM>(this));
    if (!form_) {
        lastError_ = "cannot make the main form: " + LastErrorText();
        Destroy();
        return false;
    }
    log_.Attach(GetDlgItem(form_, id::kLog), module_);
    link_.Attach(form_);
    SetDocumentTitle(kUntitled);
    FitToForm(false);
    ShowWindow(form_, SW_SHOW);
    DragAcceptFiles(frame_, TRUE);
    return true;
}

void MainFrame::FitToForm(bool shrinkOnly) {
    RECT form{};
    GetWindowRect(form_, &form);
    RECT outer{0, 0, form.right - form.left, form.bottom - form.top};
    AdjustWindowRectEx(&outer, kFrameStyle, TRUE, 0);
    LONG width = outer.right - outer.left;
    LONG height = outer.bottom - outer.top;
    if (shrinkOnly) {
        RECT now{};
        GetWindowRect(frame_, &now);
        width = std::min(width, now.right - now.left);
        height = std::min(height, now.bottom - now.top);
    }
    SetWindowPos(frame_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(form_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainFrame::SetBusy(bool busy) {
    for (HWND child = GetWindow(form_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if (id == id::kLog || id == id::kLinkControl || TakesInputWhileBusy(id)) continue;
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        // Buttons and fields; the labels keep their look.
        if (lstrcmpiW(className, L"Button") == 0 || lstrcmpiW(className, L"Edit") == 0)
            EnableWindow(child, busy ? FALSE : TRUE);
    }
    EnableMenuItems(menu_, !busy);
    DrawMenuBar(frame_);
}

void MainFrame::Show(int how) {
    ShowWindow(frame_, how);
    UpdateWindow(frame_);
}

void MainFrame::Destroy() {
    if (frame_ && IsWindow(frame_)) DestroyWindow(frame_);  // the form and menu go with it
    frame_ = nullptr;
    form_ = nullptr;
    menu_ = nullptr;
}

int MainFrame::RunMessageLoop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (frame_ && TranslateAcceleratorW(frame_, accelerators_, &message)) continue;
        if (form_ && IsDialogMessageW(form_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void MainFrame::SetDocumentTitle(const std::string& title) {
    SetWindowTextW(frame_, Widen(std::string(kFrameTitle) + kTitleSeparator + title).c_str());
}

LRESULT CALLBACK MainFrame::FrameProcedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<MainFrame*>(create->lpCreateParams);
        self->frame_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainFrame*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    // After WM_DESTROY the frame is no longer the object's: the last messages get the default.
    if (!self || self->frame_ != window) return DefWindowProcW(window, message, wParam, lParam);
    return self->OnFrameMessage(message, wParam, lParam);
}

LRESULT MainFrame::OnFrameMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (callbacks_.command) callbacks_.command(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_INITMENUPOPUP:
            OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_CLOSE:
            if (!callbacks_.mayClose || callbacks_.mayClose()) DestroyWindow(frame_);
            return 0;
        case WM_DESTROY:
            frame_ = nullptr;
            form_ = nullptr;
            menu_ = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(frame_, message, wParam, lParam);
    }
}

void MainFrame::OnInitMenuPopup(HMENU popup) {
    if (callbacks_.menuShown) callbacks_.menuShown();
    if (!callbacks_.checked) return;
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        const UINT item = GetMenuItemID(popup, i);
        if (item == 0 || item == static_cast<UINT>(-1)) continue;  // separators and pop-ups
        CheckMenuItem(popup, static_cast<UINT>(i),
                      MF_BYPOSITION |
                          (callbacks_.checked(static_cast<int>(item)) ? MF_CHECKED : MF_UNCHECKED));
    }
}

void MainFrame::OnDropFiles(HDROP drop) {
    // One document at a time: the first file dropped is the one opened.
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    DragQueryFileW(drop, 0, path.data(), length + 1);
    DragFinish(drop);
    path.resize(length);
    if (callbacks_.fileDropped && length > 0) callbacks_.fileDropped(Narrow(path));
}

INT_PTR CALLBACK MainFrame::FormProcedure(HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(form, DWLP_USER, lParam);
        return FALSE;  // the frame takes the focus
    }
    auto* self = reinterpret_cast<MainFrame*>(GetWindowLongPtrW(form, DWLP_USER));
    if (!self) return FALSE;
    switch (message) {
        case WM_COMMAND:
            if (self->callbacks_.command) self->callbacks_.command(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_TIMER:
            if (wParam == kCountdownTimer) {
                self->link_.Tick();
                return TRUE;
            }
            if (self->callbacks_.timer) self->callbacks_.timer(static_cast<int>(wParam));
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace vk930
