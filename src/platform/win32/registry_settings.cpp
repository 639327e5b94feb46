#include "platform/win32/registry_settings.h"

#include <cstring>
#include <vector>

namespace vk930 {

namespace {

class RegistryBackend : public SettingsBackend {
  public:
    RegistryBackend(HKEY root, std::string subkey, CreateKeyFunction createKey)
        : rootToOpen_(root), subkey_(std::move(subkey)), createKey_(createKey) {}
    ~RegistryBackend() override { Close(); }

    int Open() override {
        HKEY key = nullptr;
        // No class, non-volatile, no security attributes; the disposition is of no use.
        const LONG error =
            createKey_(rootToOpen_, subkey_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                       KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
        if (error != ERROR_SUCCESS) return static_cast<int>(error);
        root_ = rootToOpen_;
        key_ = key;
        return 0;
    }

    // Whatever the value's type: data of at most 4 bytes is the number, its bytes in the
    // machine's order and zeros after shorter data (REG_BINARY, a short REG_SZ). Longer data
    // does not fit and counts as missing.
    std::optional<std::int32_t> Query(const std::string& name) override {
        if (!key_) return std::nullopt;
        BYTE data[4] = {0, 0, 0, 0};
        DWORD size = sizeof data;
        if (RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, data, &size) != ERROR_SUCCESS)
            return std::nullopt;
        std::int32_t value = 0;
        std::memcpy(&value, data, sizeof value);
        return value;
    }

    bool Set(const std::string& name, std::int32_t value) override {
        if (!key_) return false;
        const DWORD data = static_cast<DWORD>(value);
        return RegSetValueExA(key_, name.c_str(), 0, REG_DWORD,
                              reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
    }

    std::optional<std::string> QueryText(const std::string& name) override {
        if (!key_) return std::nullopt;
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return std::nullopt;
        std::vector<char> text(size + 1, '\0');  // the stored text may lack its terminator
        if (RegQueryValueExA(key_, name.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS)
            return std::nullopt;
        return std::string(text.data());
    }

    bool SetText(const std::string& name, const std::string& text) override {
        if (!key_) return false;
        return RegSetValueExA(key_, name.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
    }

    // The key first, then the root it was opened under (closing a predefined root such as
    // HKEY_LOCAL_MACHINE does nothing).
    void Close() override {
        if (key_) RegCloseKey(key_);
        if (root_) RegCloseKey(root_);
        key_ = nullptr;
        root_ = nullptr;
    }

  private:
    HKEY rootToOpen_;
    std::string subkey_;
    CreateKeyFunction createKey_;
    HKEY root_ = nullptr;  // set only once the key is open
    HKEY key_ = nullptr;
};

}  // namespace

RegistrySettingsFactory::RegistrySettingsFactory(HKEY root, std::string subkey,
                                                 CreateKeyFunction createKey)
    : root_(root),
      subkey_(std::move(subkey)),
      createKey_(createKey ? createKey : &RegCreateKeyExA) {}

std::unique_ptr<SettingsBackend> RegistrySettingsFactory::Make() {
    return std::make_unique<RegistryBackend>(root_, subkey_, createKey_);
}

}  // namespace vk930
