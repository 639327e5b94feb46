#include "core/commands/config_view.h"

#include <limits>

#include "core/commands/commid.h"
#include "core/commands/firmware_commands.h"
#include "core/commands/get_command.h"
#include "core/commands/identification.h"
#include "core/commands/set_command.h"
#include "core/forms/form_ids.h"
#include "core/proof/dry_run.h"
#include "core/proof/guarded_set.h"
#include "core/proof/state_folder.h"
#include "core/registry/numbering.h"
#include "core/settings/quiet_setting.h"
#include "core/settings/registry_key.h"

namespace vk930 {

CVK900ConfigView::CVK900ConfigView(Host& host, CLinkCtrl& link, SettingsBackendFactory& settings,
                                   AppState& state)
    : host_(host),
      state_(state),
      recorder_(host, link),
      form_(host),
      ctx_{recorder_.CommandHost(), state,    form_,
           recorder_.CommandLink(), settings, &recorder_.CommandNotes()} {
    form_.OnChange(id::kCommId, [this] { OnCommIdChange(ctx_); });
    proof_.stateFolder = StateFolder();
}

void CVK900ConfigView::SetRecorder(RecorderSetup setup) {
    channel_ = setup.channel ? setup.channel : &silentChannel_;
    recorder_.Setup(std::move(setup));
}

template <class Command>
Outcome CVK900ConfigView::Recorded(const std::string& name, Command command) {
    recorder_.Begin(nextName_.empty() ? name : nextName_, state_.comPort);
    nextName_.clear();
    if (state_.commIdHold.allowChange) recorder_.NoteWithId();
    const Outcome outcome = command();
    FinishRecord(outcome);
    return outcome;
}

void CVK900ConfigView::FinishRecord(const Outcome& outcome) {
    lastOutcome_ = outcome;
    ++recordsFinished_;
    recorder_.Finish(outcome);
}

void CVK900ConfigView::NoteDocumentFile() {
    recorder_.NoteFile(state_.document.m_strFilePath);
}

void CVK900ConfigView::OnInitialUpdate() {
    host_.StartFormTimer(kInitialUpdateTimerMs);
    // A working directory too long for the recorded buffer is not recorded.
    if (const auto dir = host_.CurrentDirectory(); dir && dir->size() < kStartDirCapacity)
        state_.startDir = *dir;
    LoadSettings();
    state_.uploadPending = 0;
}

namespace {

// The link takes a 16-bit port: a stored number beyond it would reach some other port once
// cut to 16 bits, so it reaches none.
int PortFromStore(std::int32_t stored) {
    return stored >= std::numeric_limits<Short>::min() &&
                   stored <= std::numeric_limits<Short>::max()
               ? stored
               : 0;
}

}  // namespace

void CVK900ConfigView::LoadSettings() {
    CRegistryKey key(ctx_.settings, host_);
    state_.comPort = PortFromStore(key.ReadValue(kValueComPort, kDefaultComPort));
    if (key.ReadValue(kValueAllowEditSno, kDefaultAllowEditSno) != 0) {
        form_.SetReadOnly(id::kCommId, false);
        form_.Show(id::kSetCommIdButton, true);
        form_.SetText(id::kCommId, std::to_string(key.ReadValue(kValueCommId, kDefaultCommId)));
    }
    key.Close();
    LoadProofSettings();
}

void CVK900ConfigView::LoadProofSettings() {
    proof_.backupBeforeSet =
        ReadSettingQuietly(ctx_.settings, kValueBackupBeforeSet, kDefaultBackupBeforeSet) != 0;
    proof_.verifyAfterSet =
        ReadSettingQuietly(ctx_.settings, kValueVerifyAfterSet, kDefaultVerifyAfterSet) != 0;
}

std::optional<Outcome> CVK900ConfigView::OnTimer() {
    host_.StopFormTimer();
    if (state_.document.m_nFileOpened == 1)
        form_.SetText(id::kFilePath, state_.document.m_strFilePath);
    if (!state_.uploadPending) return std::nullopt;
    return RunFirmwareUpload();
}

Outcome CVK900ConfigView::OnReadDeviceInfo() {
    return Recorded("info", [this] { return ReadDeviceInfo(ctx_).outcome; });
}

Outcome CVK900ConfigView::OnSetCommId() {
    return Recorded("commid", [this] { return SetCommId(ctx_); });
}

Outcome CVK900ConfigView::OnNextCommId() {
    return Recorded("commid --next", [this] {
        if (idRegistry_) return NumberFromRegistry();
        if (!state_.sharedRegistry.empty()) {
            // Counting on this bench alone would hand out IDs other benches hand out too.
            const std::string why = "the shared registry " + state_.sharedRegistry +
                                    " cannot be used, so no ID is counted: type the ID, or "
                                    "number terminals once the registry can be reached";
            channel_->Refused(why);
            return Outcome::Failure(OutcomeClass::kRefused, why);
        }
        return NextCommId(ctx_);
    });
}

// The reservation, the write and the fate, as a series numbers a terminal.
Outcome CVK900ConfigView::NumberFromRegistry() {
    const NumberedTerminal n = NumberTerminal(ctx_, *idRegistry_, "", std::nullopt);
    if (n.commId < 0)
        return n.reserveError.empty() ? n.write.outcome : ReportUnrecorded(ctx_, n.reserveError);
    ReservedId reserved{n.commId, n.Written(), n.reason, n.fate == IdState::kMayCarry, n.possible};
    recorder_.NoteReservedId(reserved);
    if (!n.unmarked.empty())
        channel_->Refused("ID " + std::to_string(n.commId) + " is not marked " + ToString(n.fate) +
                          " in " + idRegistry_->Describe() + ": " + n.unmarked);
    if (n.Written()) return n.write.outcome;
    const OutcomeClass cls =
        n.write.outcome.ok() ? OutcomeClass::kCommunication : n.write.outcome.outcomeClass;
    return Outcome::Failure(cls, "ID " + std::to_string(n.commId) + ": " + n.reason);
}

void CVK900ConfigView::SelectComPort(int port) {
    state_.comPort = port;
    CRegistryKey key(ctx_.settings, host_);
    key.WriteValue(kValueComPort, port);
    key.Close();
}

void CVK900ConfigView::OnEditWithNotepad() {
    host_.StartEditor(state_.document.m_strFilePath);
}

Outcome CVK900ConfigView::OnGet() {
    return Recorded("get", [this] {
        const Outcome outcome = vk930::OnGet(ctx_);
        NoteDocumentFile();
        return outcome;
    });
}

Outcome CVK900ConfigView::OnGetParameters() {
    return Recorded("get --keyed", [this] {
        const Outcome outcome = vk930::OnGetParameters(ctx_);
        NoteDocumentFile();
        return outcome;
    });
}

Outcome CVK900ConfigView::OnSet() {
    return Recorded("set", [this] {
        const Outcome outcome = GuardedSet(ctx_, proof_, recorder_, *channel_);
        NoteDocumentFile();
        return outcome;
    });
}

Outcome CVK900ConfigView::OnSetParameters() {
    return Recorded("set-run", [this] {
        const Outcome outcome = vk930::OnSetParameters(ctx_).outcome;
        NoteDocumentFile();
        return outcome;
    });
}

// The dialog and the upload the form timer starts after it are one command, one record.
Outcome CVK900ConfigView::OnFirmwareUpdate() {
    recorder_.Begin("firmware", state_.comPort);
    const Outcome outcome = vk930::OnFirmwareUpdate(ctx_);
    if (!state_.uploadPending) FinishRecord(outcome);
    return outcome;
}

Outcome CVK900ConfigView::RunFirmwareUpload() {
    if (!recorder_.Recording()) recorder_.Begin("firmware", state_.comPort);
    const Outcome outcome = vk930::RunFirmwareUpload(ctx_);
    recorder_.NoteFile(state_.firmwareFile);
    FinishRecord(outcome);
    return outcome;
}

std::optional<Pages> CVK900ConfigView::OnFetchPagesForDryRun(const std::string& file) {
    std::optional<Pages> pages;
    Recorded("diff", [&] {
        const Outcome fetched = FetchTerminalPages(ctx_, pages);
        recorder_.NoteFile(file);
        return fetched;
    });
    return pages;
}

}  // namespace vk930
