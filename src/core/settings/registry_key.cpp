#include "core/settings/registry_key.h"

namespace vk930 {

CRegistryKey::CRegistryKey(SettingsBackendFactory& factory, Host& host) {
    std::unique_ptr<SettingsBackend> backend = factory.Make();
    const int error = backend->Open();
    if (error == 0) {
        backend_ = std::move(backend);
        return;
    }
    if (error == kErrorAccessDenied) host.MessageBox("5", "er");
    host.MessageBox("RegCreateEx FAIL", std::to_string(error));
}

std::int32_t CRegistryKey::ReadValue(const std::string& name, std::int32_t defaultValue) {
    if (!backend_) return 0;
    if (const auto stored = backend_->Query(name)) return *stored;
    WriteValue(name, defaultValue);
    return defaultValue;
}

bool CRegistryKey::WriteValue(const std::string& name, std::int32_t value) {
    return backend_ && backend_->Set(name, value);
}

void CRegistryKey::Close() {
    if (backend_) backend_->Close();
    backend_.reset();
}

}  // namespace vk930
