#pragma once
// The one set-up of the program behind a front end or a series station: its state, the link
// to its ports, the form's logic, and where that logic records its commands and takes its
// counted IDs. Every front end builds these parts here, so none wires them its own way.
#include <optional>
#include <string>

#include "core/commands/app_state.h"
#include "core/commands/config_view.h"
#include "core/link/port_router.h"
#include "core/proof/command_recorder.h"
#include "core/registry/terminal_registry.h"
#include "core/settings/settings_backend.h"

namespace vk930 {

// What the parts are made from; the host and the settings store outlive them.
struct ProgramSetup {
    Host& host;
    SettingsBackendFactory& settings;
    LinkOpener opener;
    LinkErrorSink onLinkError;
    BootFileLookup bootFiles;
    // The records' sink is the ID registry (it stores them) unless a caller names another
    // (a series station records through the ledger its stations share).
    RecorderSetup recorder;
    // The registry of terminals (records and counted IDs), owned by the caller, which keeps it
    // for its own commands too. Unset: no record is stored and the next-ID button counts with
    // the settings store's "commID" alone.
    TerminalRegistry* idRegistry = nullptr;
    // The shared registry's address as messages show it (masked); empty for the bench's own.
    std::string sharedRegistry{};
    // The one COM port these parts use (a series station's), kept over the settings' "ComPort";
    // unset: the settings choose the port and the user may change it.
    std::optional<int> fixedPort{};
    // Where the Set's backups go (the bench's private state); empty: the user's state folder.
    std::string stateFolder{};
};

class ProgramParts {
  public:
    explicit ProgramParts(ProgramSetup setup);
    ProgramParts(const ProgramParts&) = delete;
    ProgramParts& operator=(const ProgramParts&) = delete;

    // The form's initial update, as a program starting fresh runs it (a front end also after
    // New and Open); a fixed port stays the port whatever the settings name.
    void InitialUpdate();

    AppState state;
    PortRouter link;
    CVK900ConfigView view;

  private:
    const std::optional<int> fixedPort_;
};

}  // namespace vk930
