// The locks of the next-ID counter and of the service log, holders and state folder on Windows.
#include "platform/win32/win32_counter.h"

#include <cstdio>
#include <cstdlib>

namespace vk930 {

namespace {

std::string ComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    return GetComputerNameA(name, &size) ? std::string(name, size) : std::string("localhost");
}

std::string LastErrorText(DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length ? std::string(text, length) : "error " + std::to_string(error);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return message;
}

}  // namespace

NamedMutexLock::NamedMutexLock(const std::string& store, const std::string& kind) {
    // A kernel object's name takes no backslash after its namespace.
    std::wstring name = L"Local\\VK930Config-";
    for (char c : kind) name += static_cast<wchar_t>(static_cast<unsigned char>(c));
    name += L'-';
    for (char c : store)
        name += c == '\\' ? L'/' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    name_ = name;
    what_ = kind == "counter" ? "the counter's lock" : "the " + kind + "'s lock";
}

NamedMutexLock::~NamedMutexLock() {
    if (mutex_) CloseHandle(mutex_);
}

NamedMutexLock NamedMutexLock::ForFile(const std::string& path) {
    // A digest of the path: a kernel object's name is shorter than some paths.
    unsigned long long hash = 14695981039346656037ULL;
    for (char c : path) {
        hash ^= static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a'
                                           : c == '/'           ? '\\'
                                                                : c);
        hash *= 1099511628211ULL;
    }
    char digest[17];
    std::snprintf(digest, sizeof digest, "%016llx", hash);
    return NamedMutexLock(digest, "file");
}

Status NamedMutexLock::Acquire() {
    HANDLE mutex = nullptr;
    {
        const std::lock_guard<std::mutex> making(making_);
        if (!mutex_) mutex_ = CreateMutexW(nullptr, FALSE, name_.c_str());
        mutex = mutex_;
    }
    if (!mutex) return Error{"cannot make " + what_ + ": " + LastErrorText(GetLastError())};
    const DWORD waited = WaitForSingleObject(mutex, INFINITE);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return {};
    return Error{"cannot take " + what_ + ": " + LastErrorText(GetLastError())};
}

void NamedMutexLock::Release() {
    if (mutex_) ReleaseMutex(mutex_);
}

std::string Win32Holder() {
    return ComputerName() + ":" + std::to_string(GetCurrentProcessId());
}

std::string NewWin32SeriesId() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char when[32] = {};
    std::snprintf(when, sizeof when, "%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond);
    return std::string(when) + "-" + ComputerName() + "-" + std::to_string(GetCurrentProcessId());
}

bool Win32HolderGone(const std::string& holder) {
    const size_t colon = holder.rfind(':');
    if (colon == std::string::npos || holder.substr(0, colon) != ComputerName()) return false;
    const unsigned long pid = std::strtoul(holder.c_str() + colon + 1, nullptr, 10);
    if (pid == 0) return false;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process
    const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

std::string Win32StateFolder() {
    const char* local = std::getenv("LOCALAPPDATA");
    return std::string(local && local[0] ? local : ".") + "\\VK930Config";
}

}  // namespace vk930
