// Reasons of COM port failures in a technician's words.
#include "platform/win32/com_port_errors.h"

#include <cctype>

namespace vk930 {

namespace {

constexpr char kDevicePrefix[] = "\\\\.\\";

bool IsComName(const std::string& name) {
    if (name.size() < 4) return false;
    for (int i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return false;
    for (std::size_t i = 3; i < name.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

std::string WithoutPrefix(const std::string& device) {
    return device.starts_with(kDevicePrefix) ? device.substr(sizeof kDevicePrefix - 1) : device;
}

// The errors with which Windows and Wine report a device that was unplugged or whose
// driver is gone.
bool IsDeviceGone(DWORD error) {
    switch (error) {
        case ERROR_NOT_READY:
        case ERROR_BAD_COMMAND:
        case ERROR_DEVICE_NOT_CONNECTED:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_GEN_FAILURE:
        case ERROR_OPERATION_ABORTED:
        case ERROR_INVALID_HANDLE:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string ComPortLabel(const std::string& device) {
    std::string name = WithoutPrefix(device);
    if (!IsComName(name)) return name;
    for (int i = 0; i < 3; ++i) name[i] = static_cast<char>(std::toupper(name[i]));
    return name;
}

std::string ComDevicePath(const std::string& device) {
    const std::string name = WithoutPrefix(device);
    return IsComName(name) ? kDevicePrefix + ComPortLabel(name) : device;
}

std::string SystemErrorText(DWORD error) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length > 0 && buffer ? std::string(buffer, length) : std::string();
    if (buffer) LocalFree(buffer);
    while (!text.empty() &&
           (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    const std::string number = "error " + std::to_string(error);
    return text.empty() ? number : text + " (" + number + ")";
}

std::string ExplainComOpenError(const std::string& device, DWORD error) {
    const std::string port = ComPortLabel(device);
    switch (error) {
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return port + " is in use by another program: close it, or choose another port";
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return "there is no " + port +
                   ": plug in the cable or its USB adapter, or choose another port";
        default:
            if (IsDeviceGone(error))
                return port + " does not answer as a serial port: plug its cable in again";
            return "cannot open " + port + ": " + SystemErrorText(error);
    }
}

std::string ExplainComIoError(const std::string& device, const std::string& operation,
                              DWORD error) {
    const std::string port = ComPortLabel(device);
    if (IsDeviceGone(error))
        return port + " went away (" + operation + " failed): plug the cable in again and retry";
    return "cannot " + operation + " on " + port + ": " + SystemErrorText(error);
}

}  // namespace vk930
