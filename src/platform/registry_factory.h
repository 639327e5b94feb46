#pragma once
// The one place that opens the registry of terminals a program uses: a shared registry on a
// database server when --registry or the settings' "Registry" names one, else the bench's own
// (the settings store's "commID" and its service log, as for a single bench).
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/base/result.h"
#include "core/registry/terminal_registry.h"
#include "core/settings/settings_backend.h"
#include "core/settings/settings_keys.h"

namespace vk930 {

// The settings' text value naming a shared registry (empty or missing: the bench's own).

struct RegistryChoice {
    std::optional<std::string> address;  // --registry; unset: what the settings say
    SettingsBackendFactory* settings = nullptr;
    std::string settingsPath;  // the file whose counter a bench's own registry uses
    std::string stateFolder;   // where the service log (and the outbox of a shared one) live
    // What the technician is to know that is no failure (records left waiting for the server).
    std::function<void(const std::string&)> notice;
    // Whether the command was asked to stop (a wait for a registry server ends then).
    std::function<bool()> stopRequested;
};

// The address the choice names: --registry, else the settings' "Registry"; empty for the
// bench's own registry.
std::string ChosenRegistryAddress(const RegistryChoice& choice);

// The registry; an error when the address chosen is no registry address (nothing is contacted
// yet: a server is first reached by the first call that needs it). The error names the cause
// and what to do; a front end shows it as it is and runs nothing.
Result<std::unique_ptr<TerminalRegistry>> OpenRegistry(const RegistryChoice& choice);

}  // namespace vk930
