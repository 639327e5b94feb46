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

namespace {

Error WhyNot(const SettingsBackend& backend, const std::string& fallback) {
    const std::string problem = backend.Problem();
    return Error{problem.empty() ? fallback : problem};
}

// Opens the store without boxes; why not when it does not open.
Status OpenQuietly(SettingsBackend& backend) {
    if (const int error = backend.Open(); error != 0)
        return WhyNot(backend,
                      "the settings store does not open (error " + std::to_string(error) + ")");
    return Status::Ok();
}

Status SetOpened(SettingsBackend& backend, const std::string& name, std::int32_t value) {
    const bool kept = backend.Set(name, value);
    backend.Close();
    if (!kept) return WhyNot(backend, "the settings store cannot be written");
    return Status::Ok();
}

}  // namespace

Result<std::int32_t> ReadKeepableValue(SettingsBackendFactory& factory, const std::string& name,
                                       std::int32_t defaultValue) {
    std::unique_ptr<SettingsBackend> backend = factory.Make();
    if (Status opened = OpenQuietly(*backend); !opened) return Error{opened.error()};
    std::int32_t value = defaultValue;
    if (const auto stored = backend->Query(name)) {
        value = *stored;
    } else if (const auto text = backend->QueryText(name); text && !text->empty()) {
        // Counting on from the default would hand out IDs given before.
        backend->Close();
        return Error{"the stored \"" + name + "\" is not a number: '" + *text + "'"};
    }
    if (Status kept = SetOpened(*backend, name, value); !kept) return Error{kept.error()};
    return value;
}

Status KeepValue(SettingsBackendFactory& factory, const std::string& name, std::int32_t value) {
    std::unique_ptr<SettingsBackend> backend = factory.Make();
    if (Status opened = OpenQuietly(*backend); !opened) return opened;
    return SetOpened(*backend, name, value);
}

void CRegistryKey::Close() {
    if (backend_) backend_->Close();
    backend_.reset();
}

}  // namespace vk930
