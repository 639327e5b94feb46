// Calls carried to the GUI thread through a message-only window.
#include "win32window/gui_thread.h"

#include <memory>

namespace vk930 {

namespace {

constexpr wchar_t kGuiCallsClass[] = L"VK930ConfigGuiCalls";
constexpr UINT kSentCall = WM_APP + 1;
constexpr UINT kPostedCall = WM_APP + 2;
constexpr DWORD kPumpSliceMs = 10;

}  // namespace

GuiThread::GuiThread() : thread_(GetCurrentThreadId()) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &GuiThread::Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kGuiCallsClass;
    RegisterClassExW(&windowClass);  // a second one in the process finds the class there
    window_ = CreateWindowExW(0, kGuiCallsClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
}

GuiThread::~GuiThread() {
    if (!window_) return;
    // Calls still queued are dropped with their window, not leaked.
    MSG message{};
    while (PeekMessageW(&message, window_, kPostedCall, kPostedCall, PM_REMOVE))
        delete reinterpret_cast<std::function<void()>*>(message.lParam);
    DestroyWindow(window_);
}

void GuiThread::Send(const std::function<void()>& call) {
    if (OnGuiThread() || !window_) {
        call();
        return;
    }
    SendMessageW(window_, kSentCall, 0, reinterpret_cast<LPARAM>(&call));
}

bool GuiThread::Post(std::function<void()> call) {
    auto held = std::make_unique<std::function<void()>>(std::move(call));
    if (!window_ || !PostMessageW(window_, kPostedCall, 0, reinterpret_cast<LPARAM>(held.get())))
        return false;
    held.release();  // the window's procedure deletes it
    return true;
}

LRESULT CALLBACK GuiThread::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kSentCall:
            (*reinterpret_cast<const std::function<void()>*>(lParam))();
            return 0;
        case kPostedCall: {
            std::unique_ptr<std::function<void()>> call(
                reinterpret_cast<std::function<void()>*>(lParam));
            (*call)();
            return 0;
        }
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void PumpUntil(const std::function<bool()>& done) {
    while (!done()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPumpSliceMs, QS_ALLINPUT);
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // Left for the message loop that ends the program.
                PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace vk930
