// Helpers of the Win32 window's tests.
#include "window_test_support.h"

#include <commctrl.h>

#include <chrono>
#include <mutex>

#include "win32window/wide_text.h"

namespace vk930::test {

namespace {

constexpr auto kPatience = std::chrono::seconds(10);
constexpr DWORD kLookInterval = 5;  // milliseconds

struct Search {
    std::wstring caption;
    HWND found = nullptr;
};

BOOL CALLBACK FindOwnDialog(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    if (ClassName(window) != "#32770") return TRUE;
    if (Widen(WindowText(window)) != search->caption) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

void InitCommonControlsOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof controls;
        controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES;
        InitCommonControlsEx(&controls);
    });
}

std::string WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

std::string ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return Narrow(name);
}

void PumpMessages() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool PumpUntil(const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + kPatience;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kLookInterval, QS_ALLINPUT);
        PumpMessages();
    }
    return true;
}

DialogAnswerer::DialogAnswerer(std::string caption, std::function<void(HWND dialog)> answer) {
    thread_ = std::thread([this, caption = std::move(caption), answer = std::move(answer)] {
        const auto until = std::chrono::steady_clock::now() + kPatience;
        Search search{Widen(caption)};
        while (std::chrono::steady_clock::now() < until) {
            EnumWindows(&FindOwnDialog, reinterpret_cast<LPARAM>(&search));
            if (search.found) break;
            Sleep(kLookInterval);
        }
        if (!search.found) return;
        found_ = true;
        answer(search.found);
    });
}

DialogAnswerer::~DialogAnswerer() {
    thread_.join();
}

void PressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool WaitFor(const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + kPatience;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        Sleep(kLookInterval);
    }
    return true;
}

std::string ItemText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

std::vector<std::string> ListRow(HWND dialog, int id, int row) {
    HWND list = GetDlgItem(dialog, id);
    HWND header = ListView_GetHeader(list);
    const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    std::vector<std::string> texts;
    for (int column = 0; column < columns && row < ListView_GetItemCount(list); ++column) {
        wchar_t text[512] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 512;
        SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        texts.push_back(Narrow(text));
    }
    return texts;
}

std::string BoxText(HWND box) {
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassName(child) == "Static") text += WindowText(child);
    return text;
}

HWND WaitForOwnedBox(HWND owner, HWND seen) {
    struct Owned {
        HWND owner, seen, found = nullptr;
    } search{owner, seen};
    const DWORD thread = GetWindowThreadProcessId(owner, nullptr);
    WaitFor([&] {
        EnumThreadWindows(
            thread,
            [](HWND window, LPARAM lParam) -> BOOL {
                auto* s = reinterpret_cast<Owned*>(lParam);
                if (window == s->seen || GetWindow(window, GW_OWNER) != s->owner ||
                    !IsWindowVisible(window) || ClassName(window) != "#32770")
                    return TRUE;
                s->found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return search.found;
}

}  // namespace vk930::test
