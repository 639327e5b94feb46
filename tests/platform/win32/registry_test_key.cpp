#include "platform/win32/registry_test_key.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace vk930::test {

RegistryTestKey::RegistryTestKey(HKEY root) : root_(root) {
    std::random_device random;
    subkey_ = "Software\\VK930Config-test-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(random());
}

RegistryTestKey::~RegistryTestKey() {
    RegDeleteTreeA(root_, subkey_.c_str());
    RegDeleteKeyA(root_, subkey_.c_str());
}

bool RegistryTestKey::Exists() const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root_, subkey_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::optional<RegistryTestKey::Raw> RegistryTestKey::Read(const std::string& name,
                                                          const std::string& below) const {
    HKEY key = nullptr;
    const std::string path = below.empty() ? subkey_ : subkey_ + "\\" + below;
    if (RegOpenKeyExA(root_, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    Raw raw;
    DWORD size = 0;
    std::optional<Raw> result;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &raw.type, nullptr, &size) == ERROR_SUCCESS) {
        raw.bytes.resize(size);
        if (RegQueryValueExA(key, name.c_str(), nullptr, &raw.type,
                             reinterpret_cast<BYTE*>(raw.bytes.data()), &size) == ERROR_SUCCESS) {
            raw.bytes.resize(size);
            result = raw;
        }
    }
    RegCloseKey(key);
    return result;
}

std::optional<std::int32_t> RegistryTestKey::Dword(const std::string& name) const {
    const std::optional<Raw> raw = Read(name);
    if (!raw || raw->type != REG_DWORD || raw->bytes.size() != 4) return std::nullopt;
    std::int32_t value = 0;
    std::memcpy(&value, raw->bytes.data(), 4);
    return value;
}

void RegistryTestKey::Put(const std::string& name, DWORD type, const std::string& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root_, subkey_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(
        RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size())),
        ERROR_SUCCESS);
    RegCloseKey(key);
}

}  // namespace vk930::test
