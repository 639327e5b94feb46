#pragma once
// A registry key of one test's own, under a predefined root, deleted with all it holds
// afterwards; and raw reads of what the store wrote there.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace vk930::test {

class RegistryTestKey {
  public:
    // A fresh key name under Software of `root` (nothing is created yet).
    explicit RegistryTestKey(HKEY root);
    ~RegistryTestKey();
    RegistryTestKey(const RegistryTestKey&) = delete;
    RegistryTestKey& operator=(const RegistryTestKey&) = delete;

    HKEY Root() const { return root_; }
    const std::string& Subkey() const { return subkey_; }
    bool Exists() const;

    // A value's type and bytes as stored; nullopt when it is missing.
    struct Raw {
        DWORD type = REG_NONE;
        std::string bytes;
    };
    std::optional<Raw> Read(const std::string& name, const std::string& below = "") const;
    // A REG_DWORD value's number; nullopt when missing or of another type.
    std::optional<std::int32_t> Dword(const std::string& name) const;
    // Stores a value of any type (creating the key).
    void Put(const std::string& name, DWORD type, const std::string& bytes);

  private:
    HKEY root_;
    std::string subkey_;
};

}  // namespace vk930::test
