#include "core/commands/config_view.h"

#include <limits>

#include "core/commands/commid.h"
#include "core/commands/firmware_commands.h"
#include "core/commands/get_command.h"
#include "core/commands/identification.h"
#include "core/commands/set_command.h"
#include "core/forms/form_ids.h"
#include "core/settings/registry_key.h"

namespace vk930 {

CVK900ConfigView::CVK900ConfigView(Host& host, CLinkCtrl& link, SettingsBackendFactory& settings,
                                   AppState& state)
    : host_(host), state_(state), form_(host), ctx_{host, state, form_, link, settings} {
    form_.OnChange(id::kCommId, [this] { OnCommIdChange(ctx_); });
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
    state_.comPort = PortFromStore(key.ReadValue(kValueComPort, 1));
    if (key.ReadValue(kValueAllowEditSno, 0) != 0) {
        form_.SetReadOnly(id::kCommId, false);
        form_.Show(id::kSetCommIdButton, true);
        form_.SetText(id::kCommId, std::to_string(key.ReadValue(kValueCommId, kDefaultCommId)));
    }
    key.Close();
}

std::optional<Outcome> CVK900ConfigView::OnTimer() {
    host_.StopFormTimer();
    if (state_.document.m_nFileOpened == 1)
        form_.SetText(id::kFilePath, state_.document.m_strFilePath);
    if (!state_.uploadPending) return std::nullopt;
    return RunFirmwareUpload();
}

Outcome CVK900ConfigView::OnReadDeviceInfo() {
    return ReadDeviceInfo(ctx_);
}

Outcome CVK900ConfigView::OnSetCommId() {
    return SetCommId(ctx_);
}

Outcome CVK900ConfigView::OnNextCommId() {
    return NextCommId(ctx_);
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
    return vk930::OnGet(ctx_);
}

Outcome CVK900ConfigView::OnGetParameters() {
    return vk930::OnGetParameters(ctx_);
}

Outcome CVK900ConfigView::OnSet() {
    return vk930::OnSet(ctx_);
}

Outcome CVK900ConfigView::OnSetParameters() {
    return vk930::OnSetParameters(ctx_).outcome;
}

Outcome CVK900ConfigView::OnFirmwareUpdate() {
    return vk930::OnFirmwareUpdate(ctx_);
}

Outcome CVK900ConfigView::RunFirmwareUpload() {
    return vk930::RunFirmwareUpload(ctx_);
}

}  // namespace vk930
