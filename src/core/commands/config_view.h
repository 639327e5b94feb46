#pragma once
#include <optional>

// The main form's logic: its initial update, its timer and its command map. Toolkit-free:
// the window and the command-line tool forward their events here, and everything the form
// shows comes back through the host.
#include "core/commands/app_state.h"
#include "core/commands/command_context.h"
#include "core/commands/form_model.h"
#include "core/commands/host.h"
#include "core/commands/outcome.h"
#include "core/forms/form_ids.h"
#include "core/link/link_ctrl.h"
#include "core/settings/settings_backend.h"

namespace vk930 {

inline constexpr int kInitialUpdateTimerMs = 300;
inline constexpr size_t kStartDirCapacity = 150;

class CVK900ConfigView {
  public:
    CVK900ConfigView(Host& host, CLinkCtrl& link, SettingsBackendFactory& settings,
                     AppState& state);

    // Runs at start-up and after every New and successful Open.
    void OnInitialUpdate();
    // The form timer expired. Returns the outcome of the firmware upload when it started one.
    std::optional<Outcome> OnTimer();

    // The commands return how they ended; the window ignores it (the log has said it all),
    // the command-line tool takes its exit status from it.
    Outcome OnReadDeviceInfo();
    Outcome OnSetCommId();
    Outcome OnNextCommId();
    void OnCommIdEdited(const std::string& text) { form_.TextEdited(id::kCommId, text); }
    void SelectComPort(int port);
    bool IsComPortChecked(int port) const { return state_.comPort == port; }
    void OnEditWithNotepad();
    // Get parameters: button 1028 "Get" (raw form) and hidden button 1002 "&Get...".
    Outcome OnGet();
    Outcome OnGetParameters();
    // Set parameters: button 1029 "Set" and hidden button 1003 "&Set...".
    Outcome OnSet();
    Outcome OnSetParameters();
    // "FirmWare update..." and the upload the form timer starts after it.
    Outcome OnFirmwareUpdate();
    Outcome RunFirmwareUpload();
    void OnClearList() { host_.ClearLog(); }

    FormModel& Form() { return form_; }
    AppState& State() { return state_; }
    const CommandContext& Context() const { return ctx_; }

  private:
    void LoadSettings();

    Host& host_;
    AppState& state_;
    FormModel form_;
    CommandContext ctx_;
};

}  // namespace vk930
