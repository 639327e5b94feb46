// The COM ports among Windows' DOS device names.
#include "platform/win32/com_ports_present.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

#include "core/link/com_port_names.h"

namespace vk930 {

namespace {

constexpr DWORD kFirstListChars = 1 << 16;
constexpr DWORD kLargestListChars = 1 << 22;  // beyond this a list is not believed
constexpr int kLargestPort = 256;             // what Windows numbers COM ports up to

}  // namespace

std::vector<int> ComPortNumbers(const std::wstring& dosDevices) {
    std::vector<int> ports;
    std::size_t start = 0;
    while (start < dosDevices.size()) {
        std::size_t end = dosDevices.find(L'\0', start);
        if (end == std::wstring::npos) end = dosDevices.size();
        const std::wstring name = dosDevices.substr(start, end - start);
        start = end + 1;
        if (name.size() < 4 || name.size() > 6 || _wcsnicmp(name.c_str(), L"COM", 3) != 0) continue;
        if (!std::all_of(name.begin() + 3, name.end(), [](wchar_t c) { return iswdigit(c); }))
            continue;
        const int port = std::stoi(name.substr(3));
        if (port >= 1 && port <= kLargestPort) ports.push_back(port);
    }
    std::sort(ports.begin(), ports.end());
    ports.erase(std::unique(ports.begin(), ports.end()), ports.end());
    return ports;
}

std::vector<int> ComPortsPresent() {
    std::vector<int> ports;
    // The list has no size to ask for: a buffer too small fails with ERROR_INSUFFICIENT_BUFFER.
    for (DWORD size = kFirstListChars; size <= kLargestListChars; size *= 4) {
        std::wstring list(size, L'\0');
        const DWORD length = QueryDosDeviceW(nullptr, list.data(), size);
        if (length != 0) {
            list.resize(length);
            ports = ComPortNumbers(list);
            break;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
    }
    // Wine's list lacks the ports its dosdevices folder links; those the menu offers are
    // asked for one by one, opened for no access at all (one in use is there too).
    for (int port = 1; port <= kPortCount; ++port) {
        if (std::find(ports.begin(), ports.end(), port) != ports.end()) continue;
        const std::wstring name = L"\\\\.\\COM" + std::to_wstring(port);
        HANDLE device = CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        if (device != INVALID_HANDLE_VALUE) {
            CloseHandle(device);
            ports.push_back(port);
        } else if (GetLastError() == ERROR_ACCESS_DENIED) {
            ports.push_back(port);
        }
    }
    std::sort(ports.begin(), ports.end());
    return ports;
}

}  // namespace vk930
