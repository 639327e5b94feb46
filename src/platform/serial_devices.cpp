#include "platform/serial_devices.h"

#include <QSerialPortInfo>
#include <algorithm>
#include <filesystem>
#include <system_error>

namespace vk930 {

namespace fs = std::filesystem;

std::map<std::string, std::string> ByIdNames(const std::string& dir) {
    std::map<std::string, std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code linkError;
        const fs::path target = fs::canonical(it->path(), linkError);
        if (!linkError) names.emplace(target.string(), it->path().string());
    }
    return names;
}

std::string ByIdNameOf(const std::string& path, const std::map<std::string, std::string>& byId) {
    std::error_code ec;
    const fs::path target = fs::canonical(path, ec);
    if (ec) return {};
    const auto found = byId.find(target.string());
    return found == byId.end() ? std::string() : found->second;
}

std::vector<SerialDevice> SerialDevicesPresent() {
    const std::map<std::string, std::string> byId = ByIdNames();
    std::vector<SerialDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialDevice device;
        device.path = info.systemLocation().toStdString();
        device.byId = ByIdNameOf(device.path, byId);
        device.description = info.description().toStdString();
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            device.usbIds = QString("%1:%2")
                                .arg(info.vendorIdentifier(), 4, 16, QChar('0'))
                                .arg(info.productIdentifier(), 4, 16, QChar('0'))
                                .toStdString();
        devices.push_back(std::move(device));
    }
    std::sort(devices.begin(), devices.end(),
              [](const SerialDevice& a, const SerialDevice& b) { return a.path < b.path; });
    return devices;
}

}  // namespace vk930
