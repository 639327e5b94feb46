#pragma once
// Everything a command works with: the window around it, the program's state, the form,
// the link to the terminal and the settings store.
#include "app/app_state.h"
#include "app/host.h"
#include "link/link_ctrl.h"
#include "settings/settings_backend.h"
#include "ui/form_model.h"

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
