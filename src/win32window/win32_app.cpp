// The Win32 window's set-up, and the FrontEnd the core's Application drives, in Win32 calls.
#include "win32window/win32_app.h"

#include <filesystem>

#include "core/app/device_spec.h"
#include "core/commands/progress.h"
#include "core/forms/form_ids.h"
#include "core/forms/menu_template.h"
#include "core/link/com_port_names.h"
#include "core/proof/state_folder.h"
#include "core/settings/settings_keys.h"
#include "platform/win32/win32_link.h"
#include "win32window/devices_dialog.h"
#include "win32window/menus.h"
#include "win32window/template_dialog.h"
#include "win32window/tool_dialog.h"
#include "win32window/wide_text.h"

namespace vk930 {

// Firmware uploads look for the boot file in the working directory, then beside the program.
BootFileLookup Win32App::ProgramBootFiles() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), MAX_PATH);
    path.resize(length);
    return BootFileLookup(std::filesystem::path(path).parent_path().string());
}

namespace {

// The framework's open dialog for a document: parameter files first, then all files.
FileDialogRequest OpenDocumentRequest() {
    FileDialogRequest request;
    request.defaultExtension = std::string(kFilterExtension).substr(1);
    request.filterName = kFilterName;
    request.filterPattern = "*" + std::string(kFilterExtension);
    return request;
}

}  // namespace

Win32App::Win32App(HINSTANCE module, Win32AppOptions options)
    : options_(std::move(options)),
      settings_(options_.settingsRoot, options_.settingsSubkey),
      counterLock_(options_.settingsSubkey),
      stateFolder_(options_.stateFolder.empty() ? Win32StateFolder() : options_.stateFolder),
      logLock_(NamedMutexLock::ForFile(ServiceLogPath(stateFolder_))),
      journal_(ServiceLogPath(stateFolder_), Win32Holder(), Win32HolderGone, logLock_),
      counter_(settings_, counterLock_, &journal_,
               [this](const std::string& text) { boxes_.Notice(text); }),
      registry_(counter_, journal_, journal_, "settings key " + options_.settingsSubkey),
      history_([this](const RecordQuery& query) { return registry_.Find(query); },
               "this bench (" + journal_.Path() + ")"),
      recent_(options_.recentRoot, options_.recentProfile),
      frame_(module, Callbacks()),
      host_(frame_, options_.files, options_.editor, options_.sleep),
      boxes_(host_),
      // Backups go beside the service log, where "Backups..." looks for them.
      program_({.host = host_,
                .settings = settings_,
                .opener = PortOpener(),
                .onLinkError = [this](const std::string& message) { ReportLinkFault(message); },
                .bootFiles = ProgramBootFiles(),
                .recorder = Recording(),
                .idRegistry = &registry_,
                .stateFolder = stateFolder_}),
      runner_(host_.Gui()),
      app_(AppParts{host_, program_.view, program_.state, recent_, *this, runner_,
                    [this](int port) { return PortReachText(port, options_.link, settings_); },
                    [this] { program_.link.Forget(); }, &history_}) {
    program_.link.SetUploadProgress(UploadProgressTo(host_));
}

// How the window's commands, and its series stations', are recorded: the sink is the
// registry's, or a series' ledger.
RecorderSetup Win32App::Recording() {
    RecorderSetup record;
    record.channel = &boxes_;
    record.program = "vk930config";
    record.version = PROJECT_VERSION;
    record.reach = [this](int port) { return DeviceSpecFor(port, options_.link, settings_); };
    return record;
}

// Opens what a COM port reaches, for the window's link and for each station of a series.
LinkOpener Win32App::PortOpener() {
    return [this](Short port) {
        return OpenWin32Link(DeviceSpecFor(port, options_.link, settings_), ProgramBootFiles(),
                             [this](const std::string& message) { ReportLinkFault(message); });
    };
}

Win32App::~Win32App() {
    runner_.WaitForIdle();
    // The links were opened on the job thread, and are closed there.
    runner_.RunAndWait([this] { program_.link.Forget(); });
}

FrameCallbacks Win32App::Callbacks() {
    FrameCallbacks callbacks;
    callbacks.command = [this](int id, int code) {
        if (id == id::kCommId) {
            if (code == EN_CHANGE && !host_.SettingText()) {
                wchar_t text[64] = {};
                GetDlgItemTextW(frame_.Form(), id::kCommId, text, 64);
                app_.OnCommIdEdited(Narrow(text));
            }
            return;
        }
        // Buttons speak when clicked; menu items and accelerators with code 0 or 1.
        if (code == 0 || code == 1 || code == BN_CLICKED) app_.OnCommand(id);
    };
    callbacks.menuShown = [this] { app_.OnComPortMenuShown(); };
    callbacks.checked = [this](int id) {
        return IsComPort(id - id::kCmdComPort1 + 1) && id - id::kCmdComPort1 + 1 == checkedPort_;
    };
    callbacks.timer = [this](int timer) { OnTimer(timer); };
    callbacks.fileDropped = [this](const std::string& path) { app_.OpenDocumentFile(path); };
    callbacks.mayClose = [this] { return app_.AllowClose(); };
    return callbacks;
}

bool Win32App::Start() {
    if (!frame_.Create()) {
        MessageBoxW(nullptr, Widen(frame_.LastError()).c_str(), Widen(kFrameTitle).c_str(),
                    MB_OK | MB_ICONSTOP);
        return false;
    }
    return app_.Start(options_.file);
}

void Win32App::OnTimer(int timer) {
    if (timer != id::kFormTimer) return;
    host_.OnFormTimerExpired();
    app_.OnFormTimer();
}

// A port whose configuration is wrong, or whose device cannot be opened or went away: the
// reason, in a box, besides the command's own log lines.
void Win32App::ReportLinkFault(const std::string& message) {
    host_.MessageBox(message, kFrameTitle);
}

void Win32App::SetBusy(bool busy) {
    frame_.SetBusy(busy);
}

bool Win32App::AskYesNo(const std::string& question) {
    return MessageBoxW(frame_.Window(), Widen(question).c_str(), Widen(kFrameTitle).c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void Win32App::CloseWindow() {
    PostMessageW(frame_.Window(), WM_CLOSE, 0, 0);
}

void Win32App::ShowAbout() {
    AboutDialog about;
    about.RunModal(frame_.Window(), frame_.Module());
}

std::optional<std::string> Win32App::AskFileToOpen() {
    const FileDialogAnswer answer = options_.files(OpenDocumentRequest(), frame_.Window());
    if (!answer.ok) return std::nullopt;
    return answer.path;
}

void Win32App::RunToolDialog(ToolController& controller) {
    Win32ToolDialog dialog(controller, options_.files);
    dialog.RunModal(frame_.Window(), frame_.Module());
}

bool Win32App::RunDevicesDialog() {
    return RunWin32DevicesDialog(
        frame_.Window(), frame_.Module(), settings_, options_.link,
        [this](const std::string& problems) { host_.MessageBox(problems, kFrameTitle); });
}

void Win32App::ShowPortReach(const std::string& text) {
    frame_.Link().SetPortText(text);
}

void Win32App::ClearProgress() {
    frame_.Link().ClearProgress();
}

void Win32App::ShowComPortItem(int port, bool checked, const std::string& reach) {
    (void)reach;  // a Win32 menu item has no tool tip; the link control's place shows it
    if (checked) {
        checkedPort_ = port;
    } else if (checkedPort_ == port) {
        checkedPort_ = 0;
    }
}

void Win32App::FitToForm(bool shrinkOnly) {
    frame_.FitToForm(shrinkOnly);
}

bool Win32App::FormTimerPending() const {
    return host_.FormTimerPending();
}

}  // namespace vk930
