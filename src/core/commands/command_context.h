#pragma once
// Everything a command works with: the window around it, the program's state, the form,
// the link to the terminal and the settings store.
#include "core/commands/app_state.h"
#include "core/commands/form_model.h"
#include "core/commands/host.h"
#include "core/link/link_ctrl.h"
#include "core/settings/settings_backend.h"

namespace vk930 {

struct CommandContext {
    Host& host;
    AppState& state;
    FormModel& form;
    CLinkCtrl& link;
    SettingsBackendFactory& settings;

    Short Port() const { return static_cast<Short>(state.comPort); }
    void Log(const std::string& text, int kind) const {
        host.AppendEntry(text, kind, SeverityOfKind(kind));
    }
    void Log(const std::string& text, int kind, EntrySeverity severity) const {
        host.AppendEntry(text, kind, severity);
    }
    // An out-of-range value replaced by its substitute: icon kind 0, yet no failure.
    void Warn(const std::string& text) const { Log(text, kIconFailure, EntrySeverity::kWarning); }
    // A stop was asked for (a signal, the window closing): the command ends at its next step.
    bool StopRequested() const { return state.stop.Requested(); }
};

}  // namespace vk930
