#pragma once
// Settings held in memory; can be made to fail opening with a given error number.
#include <map>
#include <memory>
#include <string>

#include "core/settings/settings_backend.h"

namespace vk930::test {

class MemorySettings : public SettingsBackendFactory {
  public:
    std::map<std::string, std::int32_t> values;
    std::map<std::string, std::string> texts;
    int openError = 0;  // nonzero: every Open fails with it
    int opens = 0;
    int closes = 0;

    std::unique_ptr<SettingsBackend> Make() override;
};

}  // namespace vk930::test
