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
    void Log(const std::string& text, int kind) const { host.AppendLog(text, kind); }
};

}  // namespace vk930
