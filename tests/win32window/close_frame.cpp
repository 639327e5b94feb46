// Waits for the frame of a running vk930config.exe and asks it to close, as the close box
// would; exits 0 once the frame is gone, 1 when it never came or never went. With
// --identify it first clicks Read Device Info and waits for the terminal's type and the
// command's end, and prints the type (exit 2 when it never came); with --caption-has TEXT it
// first waits for the caption to hold TEXT (exit 3 when it never did); with --keep it leaves
// the frame open.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "core/forms/form_ids.h"

namespace {

constexpr wchar_t kFrameClass[] = L"VK930ConfigFrame";
constexpr int kLooks = 600;  // of 50 ms: half a minute each way
constexpr DWORD kCloseLookInterval = 50;

HWND WaitForFrame() {
    for (int i = 0; i < kLooks; ++i) {
        if (HWND frame = FindWindowW(kFrameClass, nullptr)) return frame;
        Sleep(kCloseLookInterval);
    }
    return nullptr;
}

// Clicks Read Device Info on the frame's form and waits for the Type field to fill.
bool Identify(HWND frame) {
    HWND form = GetWindow(frame, GW_CHILD);
    if (!form) return false;
    PostMessageW(form, WM_COMMAND, MAKEWPARAM(vk930::id::kReadDeviceInfoButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(form, vk930::id::kReadDeviceInfoButton)));
    for (int i = 0; i < kLooks; ++i) {
        char type[64] = {};
        GetDlgItemTextA(form, vk930::id::kType, type, sizeof type);
        // The field holds a blank until the terminal has answered.
        // The command goes on after the field fills (its record): it has ended once its
        // button takes input again, and a close then asks nothing.
        if (std::strspn(type, " ") != std::strlen(type) &&
            IsWindowEnabled(GetDlgItem(form, vk930::id::kReadDeviceInfoButton))) {
            std::printf("Type: %s\n", type);
            return true;
        }
        Sleep(kCloseLookInterval);
    }
    return false;
}

bool CaptionHas(HWND frame, const char* text) {
    for (int i = 0; i < kLooks; ++i) {
        char caption[512] = {};
        GetWindowTextA(frame, caption, sizeof caption);
        if (std::strstr(caption, text)) return true;
        Sleep(kCloseLookInterval);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    HWND frame = WaitForFrame();
    if (!frame) return 1;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--identify") == 0 && !Identify(frame)) return 2;
        if (std::strcmp(argv[i], "--caption-has") == 0 && i + 1 < argc &&
            !CaptionHas(frame, argv[++i]))
            return 3;
        if (std::strcmp(argv[i], "--keep") == 0) keep = true;
    }
    if (keep) return 0;
    PostMessageW(frame, WM_CLOSE, 0, 0);
    for (int i = 0; i < kLooks; ++i) {
        if (!IsWindow(frame)) return 0;
        Sleep(kCloseLookInterval);
    }
    return 1;
}
