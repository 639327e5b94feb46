#pragma once
// Everything a command works with: the window around it, the program's state, the form,
// the link to the terminal and the settings store.
#include "core/commands/app_state.h"
#include "core/commands/form_model.h"
#include "core/commands/host.h"
#include "core/commands/terminal_identity.h"
#include "core/link/link_ctrl.h"
#include "core/settings/settings_backend.h"

namespace vk930 {

// Told what a command learnt of the terminal it talks to (the service record keeps it).
class TerminalNotes {
  public:
    virtual ~TerminalNotes() = default;
    // Identification read the whole identity.
    virtual void Identified(const TerminalIdentity& identity) = 0;
    // A command asked the device type alone (Get, Set).
    virtual void DeviceTypeRead(int type) = 0;
    // A look at the port read the terminal's CommID alone.
    virtual void CommIdRead(int commId) = 0;
};

struct CommandContext {
    Host& host;
    AppState& state;
    FormModel& form;
    CLinkCtrl& link;
    SettingsBackendFactory& settings;
    TerminalNotes* notes = nullptr;  // unset: what the command learns is kept nowhere

    Short Port() const { return static_cast<Short>(state.comPort); }
    void Log(const std::string& text, int kind) const {
        host.AppendEntry(text, kind, SeverityOfKind(kind));
    }
    void Log(const std::string& text, int kind, EntrySeverity severity) const {
        host.AppendEntry(text, kind, severity);
    }
    // An out-of-range value replaced by its substitute: icon kind 0, yet no failure.
    void Warn(const std::string& text) const { Log(text, kIconFailure, EntrySeverity::kWarning); }
    void Identified(const TerminalIdentity& identity) const {
        if (notes) notes->Identified(identity);
    }
    // A device type the link really answered (a failed call says nothing of the terminal).
    void DeviceTypeRead(Short type) const {
        if (notes && !link.LastCallFailed() && type != -1) notes->DeviceTypeRead(type);
    }
    // The terminal's answer to GetCommIdText outside an identification.
    void CommIdRead(const std::string& text) const {
        if (!notes) return;
        if (const std::optional<int> commId = PlainCommId(text)) notes->CommIdRead(*commId);
    }
    // A stop was asked for (a signal, the window closing): the command ends at its next step.
    bool StopRequested() const { return state.stop.Requested(); }
};

}  // namespace vk930
