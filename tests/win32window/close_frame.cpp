// Waits for the frame of a running vk930config.exe and asks it to close, as the close box
// would; exits 0 once the frame is gone, 1 when it never came or never went.
#include <windows.h>

namespace {

constexpr wchar_t kFrameClass[] = L"VK930ConfigFrame";
constexpr int kLooks = 600;  // of 50 ms: half a minute each way
constexpr DWORD kLookInterval = 50;

HWND WaitForFrame() {
    for (int i = 0; i < kLooks; ++i) {
        if (HWND frame = FindWindowW(kFrameClass, nullptr)) return frame;
        Sleep(kLookInterval);
    }
    return nullptr;
}

}  // namespace

int main() {
    HWND frame = WaitForFrame();
    if (!frame) return 1;
    PostMessageW(frame, WM_CLOSE, 0, 0);
    for (int i = 0; i < kLooks; ++i) {
        if (!IsWindow(frame)) return 0;
        Sleep(kLookInterval);
    }
    return 1;
}
