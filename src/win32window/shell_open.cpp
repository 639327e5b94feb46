// A second start's file handed to the running window through WM_COPYDATA.
#include "win32window/shell_open.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>

#include "win32window/wide_text.h"

namespace vk930 {

namespace {

constexpr wchar_t kShellOpenClass[] = L"VK930ConfigShellOpen";
// Marks the one request this channel knows, so a stray WM_COPYDATA is not taken for a path.
constexpr ULONG_PTR kOpenFileRequest = 0x56'4B'39'30;  // "VK90"
constexpr UINT kOpenPending = WM_APP + 1;
constexpr UINT kAnswerTimeoutMs = 5000;
constexpr DWORD kMaxPathChars = 32767;  // the longest path Windows has

std::string RootName(HKEY root) {
    if (root == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
    if (root == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
    char name[32];
    std::snprintf(name, sizeof name, "HKEY_%llx",
                  static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(root)));
    return name;
}

HWND FindChannel(const std::string& channel) {
    return FindWindowExW(HWND_MESSAGE, nullptr, kShellOpenClass, Widen(channel).c_str());
}

void RegisterReceiverClass(WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kShellOpenClass;
    RegisterClassExW(&windowClass);  // a second one in the process finds the class there
}

}  // namespace

// Registry names know no case, so neither does the place.
std::string SettingsPlace(HKEY root, const std::string& subkey) {
    std::string place = RootName(root) + "\\" + subkey;
    std::transform(place.begin(), place.end(), place.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return place;
}

bool HandToRunningWindow(const std::string& channel, const std::string& file) {
    HWND receiver = FindChannel(channel);
    if (!receiver) return false;
    // The starting program has the foreground; it lets the running window take it.
    DWORD process = 0;
    GetWindowThreadProcessId(receiver, &process);
    AllowSetForegroundWindow(process);
    const std::wstring path = Widen(file);
    COPYDATASTRUCT data{};
    data.dwData = kOpenFileRequest;
    data.cbData = static_cast<DWORD>(path.size() * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(path.data());
    DWORD_PTR taken = FALSE;
    const LRESULT answered =
        SendMessageTimeoutW(receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                            SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerTimeoutMs, &taken);
    return answered != 0 && taken == TRUE;
}

ShellOpenReceiver::ShellOpenReceiver(OpenRequest open) : open_(std::move(open)) {}

ShellOpenReceiver::~ShellOpenReceiver() {
    if (!window_) return;
    // Requests not yet opened go with the window.
    MSG message{};
    while (PeekMessageW(&message, window_, kOpenPending, kOpenPending, PM_REMOVE))
        delete reinterpret_cast<std::string*>(message.lParam);
    DestroyWindow(window_);
}

bool ShellOpenReceiver::Listen(const std::string& channel) {
    if (window_ || FindChannel(channel)) return false;
    RegisterReceiverClass(&ShellOpenReceiver::Procedure);
    window_ = CreateWindowExW(0, kShellOpenClass, Widen(channel).c_str(), 0, 0, 0, 0, 0,
                              HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), this);
    return window_ != nullptr;
}

LRESULT CALLBACK ShellOpenReceiver::Procedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<ShellOpenReceiver*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_COPYDATA)
        return self->OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    if (self && message == kOpenPending) {
        std::unique_ptr<std::string> path(reinterpret_cast<std::string*>(lParam));
        self->open_(*path);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The data comes from another program: only a whole, non-empty path of sensible length,
// without a NUL inside, is taken.
LRESULT ShellOpenReceiver::OnCopyData(const COPYDATASTRUCT& data) {
    if (data.dwData != kOpenFileRequest || !data.lpData || data.cbData == 0 ||
        data.cbData % sizeof(wchar_t) != 0 || data.cbData / sizeof(wchar_t) > kMaxPathChars)
        return FALSE;
    const std::wstring path(static_cast<const wchar_t*>(data.lpData),
                            data.cbData / sizeof(wchar_t));
    if (path.find(L'\0') != std::wstring::npos) return FALSE;
    auto held = std::make_unique<std::string>(Narrow(path));
    if (!PostMessageW(window_, kOpenPending, 0, reinterpret_cast<LPARAM>(held.get()))) return FALSE;
    held.release();  // the window's procedure deletes it
    return TRUE;
}

}  // namespace vk930
