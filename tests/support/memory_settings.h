#pragma once
// Settings held in memory; can be made to fail opening with a given error number.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/settings/settings_backend.h"

namespace vk930::test {

class MemorySettings : public SettingsBackendFactory {
  public:
    std::map<std::string, std::int32_t> values;
    std::map<std::string, std::string> texts;
    int openError = 0;      // nonzero: every Open fails with it
    bool setFails = false;  // every Set and SetText fails, and stores nothing
    std::string problem;    // what Problem() says
    // When set, every stored value is noted here ("settings commID=300"), to see its order
    // among the host's and the link's events.
    std::vector<std::string>* events = nullptr;
    int opens = 0;
    int closes = 0;

    std::unique_ptr<SettingsBackend> Make() override;
};

}  // namespace vk930::test
