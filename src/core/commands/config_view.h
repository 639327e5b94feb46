#pragma once
// The main form's logic: its initial update, its timer and its command map. Toolkit-free:
// the window and the command-line tool forward their events here, and everything the form
// shows comes back through the host.
#include <optional>

#include "core/commands/app_state.h"
#include "core/commands/command_context.h"
#include "core/commands/form_model.h"
#include "core/commands/host.h"
#include "core/commands/outcome.h"
#include "core/forms/form_ids.h"
#include "core/link/link_ctrl.h"
#include "core/link/page_copy.h"
#include "core/proof/command_recorder.h"
#include "core/proof/proof_options.h"
#include "core/registry/terminal_registry.h"
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
    // The dry run's first half: identifies the terminal and fetches both pages as "Set" does,
    // writing nothing; nullopt when that failed (the log says why).
    std::optional<std::array<PageBytes, 2>> OnFetchPagesForDryRun(const std::string& file);

    FormModel& Form() { return form_; }
    AppState& State() { return state_; }
    const CommandContext& Context() const { return ctx_; }

    // The safeguards around a Set (loaded from the settings at every initial update; a front
    // end may change them for one command) and the service log of every command.
    ProofOptions& Proof() { return proof_; }
    // The safeguards as the settings give them, without the rest of the initial update (a
    // series station has no form to update).
    void LoadProofSettings();
    void SetRecorder(RecorderSetup setup);
    // Where counted IDs come from (the next-ID button): the program's ID registry. Unset, the
    // button counts with the settings store alone (a view without a service log).
    void SetIdRegistry(TerminalRegistry* idRegistry) { idRegistry_ = idRegistry; }
    // For runs that make one record of several commands (a terminal of a series).
    CommandRecorder& Recorder() { return recorder_; }
    ProofChannel& Channel() { return *channel_; }
    // The service log names the next command so ("restore" for a Set of a backup).
    void NameNextCommand(std::string name) { nextName_ = std::move(name); }
    // How the last command that reaches the terminal ended.
    const Outcome& LastOutcome() const { return lastOutcome_; }
    // Records stored (or tried) since the program started.
    int RecordsFinished() const { return recordsFinished_; }

  private:
    void LoadSettings();
    // Runs a command as one record of the service log.
    template <class Command>
    Outcome Recorded(const std::string& name, Command command);
    void FinishRecord(const Outcome& outcome);
    void NoteDocumentFile();
    Outcome NumberFromRegistry();

    Host& host_;
    AppState& state_;
    CommandRecorder recorder_;
    FormModel form_;
    CommandContext ctx_;
    ProofOptions proof_;
    ProofChannel silentChannel_;
    ProofChannel* channel_ = &silentChannel_;
    TerminalRegistry* idRegistry_ = nullptr;  // the shop's IDs, not the settings store
    Outcome lastOutcome_;
    std::string nextName_;
    int recordsFinished_ = 0;
};

}  // namespace vk930
