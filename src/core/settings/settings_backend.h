#pragma once
// Where the three settings live: the registry key on Windows, a settings file on Linux,
// a map in tests. One object stands for one opened key.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace vk930 {

inline constexpr int kErrorAccessDenied = 5;

class SettingsBackend {
  public:
    virtual ~SettingsBackend() = default;
    // Creates or opens the settings key; 0 on success, else an error number (5 = access denied).
    virtual int Open() = 0;
    // The stored 32-bit value; nullopt when missing or not a 32-bit number.
    virtual std::optional<std::int32_t> Query(const std::string& name) = 0;
    virtual bool Set(const std::string& name, std::int32_t value) = 0;
    // A text value (the device each COM port reaches); nullopt when missing.
    virtual std::optional<std::string> QueryText(const std::string& name) = 0;
    // Stores a text value; false when it could not be written.
    virtual bool SetText(const std::string& name, const std::string& text) = 0;
    virtual void Close() = 0;
    // Why the last Open or Set failed, in a technician's words ("settings file 'x.ini' cannot
    // be written"); empty when the back end cannot tell.
    virtual std::string Problem() const { return {}; }
};

// Makes a fresh, unopened back end each time the store is opened.
class SettingsBackendFactory {
  public:
    virtual ~SettingsBackendFactory() = default;
    virtual std::unique_ptr<SettingsBackend> Make() = 0;
};

}  // namespace vk930
