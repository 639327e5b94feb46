// The application behind the main window.
#include "core/app/application.h"

#include <filesystem>
#include <utility>

#include "core/app/backups_tool.h"
#include "core/app/close_question.h"
#include "core/app/compare_tool.h"
#include "core/forms/menu_template.h"
#include "core/link/com_port_names.h"

namespace vk930 {

Application::Application(AppParts parts) : parts_(std::move(parts)) {}

bool Application::Start(const std::string& file) {
    if (file.empty()) {
        NewDocument();
        return true;
    }
    return OpenDocumentFile(file);
}

void Application::OnCommand(int id) {
    const std::optional<AppCommand> command = FindAppCommand(id);
    if (!command) return;
    if (CommandRunning()) {
        // Input made during a job is dropped, never run after it; closing asks.
        if (TakesInputWhileBusy(id)) parts_.frontEnd.CloseWindow();
        return;
    }
    if (!command->job) {
        Carry(*command);
        return;
    }
    parts_.state.stop.Clear();  // a stop asked of an earlier job is not this one's
    StartJob(*command->job, JobOf(command->action));
}

void Application::Carry(const AppCommand& command) {
    switch (command.action) {
        case AppAction::kNew:
            return NewDocument();
        case AppAction::kOpen:
            return OpenFromDialog();
        case AppAction::kAbout:
            return parts_.frontEnd.ShowAbout();
        case AppAction::kExit:
        case AppAction::kClose:
            // Closing the document closes its frame, the main window: the program ends.
            return parts_.frontEnd.CloseWindow();
        case AppAction::kClearList:
            return parts_.view.OnClearList();
        case AppAction::kEditWithNotepad:
            return parts_.view.OnEditWithNotepad();
        case AppAction::kDevices:
            return ChangeDevices();
        case AppAction::kNumberSeries:
            return parts_.frontEnd.RunSeriesDialog();
        case AppAction::kSelectComPort:
            parts_.view.SelectComPort(command.port);
            return ShowPort();
        case AppAction::kCompare:
        case AppAction::kBackups:
        case AppAction::kServiceHistory:
            return RunTool(command.action);
        default:
            return;  // the terminal jobs run through StartJob
    }
}

std::function<void()> Application::JobOf(AppAction action) {
    CVK900ConfigView& view = parts_.view;
    switch (action) {
        case AppAction::kReadDeviceInfo:
            return [&view] { view.OnReadDeviceInfo(); };
        case AppAction::kSetCommId:
            return [&view] { view.OnSetCommId(); };
        case AppAction::kNextCommId:
            return [&view] { view.OnNextCommId(); };
        case AppAction::kGet:
            return [&view] { view.OnGet(); };
        case AppAction::kGetKeyed:
            return [&view] { view.OnGetParameters(); };
        case AppAction::kSet:
            return [&view] { view.OnSet(); };
        case AppAction::kSetRun:
            return [&view] { view.OnSetParameters(); };
        case AppAction::kFirmwareUpdate:
            return [&view] { view.OnFirmwareUpdate(); };
        default:
            return [] {};
    }
}

void Application::OnCommIdEdited(const std::string& text) {
    if (!CommandRunning()) parts_.view.OnCommIdEdited(text);
}

bool Application::CommandRunning() const {
    return parts_.runner.Running() ||
           (parts_.state.uploadPending && parts_.frontEnd.FormTimerPending());
}

std::optional<TerminalJob> Application::RunningJob() const {
    if (!CommandRunning()) return std::nullopt;
    return job_;
}

void Application::StartJob(TerminalJob job, std::function<void()> run) {
    job_ = job;
    SetBusy(true);
    parts_.runner.Start(std::move(run), [this] { OnJobFinished(); });
}

void Application::RunTool(AppAction action) {
    if (action == AppAction::kCompare) {
        CompareTool compare(parts_.view, *this);
        return parts_.frontEnd.RunToolDialog(compare);
    }
    if (action == AppAction::kBackups) {
        BackupsTool backups(parts_.view, *this,
                            [this](const std::string& path) { return OpenDocumentFile(path); });
        return parts_.frontEnd.RunToolDialog(backups);
    }
    if (!parts_.history) {
        parts_.host.MessageBox(
            "This program keeps no service records, so it has no history "
            "to show.",
            kFrameTitle);
        return;
    }
    HistoryTool history(*parts_.history);
    parts_.frontEnd.RunToolDialog(history);
}

bool Application::RunToolJob(TerminalJob kind, std::function<void()> job,
                             std::function<void()> done) {
    if (CommandRunning()) return false;
    parts_.state.stop.Clear();
    toolDone_ = std::move(done);
    StartJob(kind, std::move(job));
    return true;
}

void Application::OnJobFinished() {
    parts_.frontEnd.ClearProgress();
    ShowPort();  // the Get dialog may have chosen another port
    // The dialog learns how its job ended; it may start the next one (a restore it asked
    // about), which keeps the window busy.
    if (std::function<void()> done = std::exchange(toolDone_, nullptr)) done();
    if (CommandRunning()) return;  // the firmware upload waits for the form timer
    if (timerDeferred_) {
        timerDeferred_ = false;
        OnFormTimer();
        if (CommandRunning()) return;
    }
    SetBusy(false);
    if (closeAfterCommand_) parts_.frontEnd.CloseWindow();
}

// The form timer's expiry is the program's own event, not input: one that comes while a job
// runs is served once the job has ended. Its two duties: the "File:" field, and the firmware
// upload a confirmed request left pending, which is a job of its own.
void Application::OnFormTimer() {
    if (parts_.runner.Running()) {
        timerDeferred_ = true;
        return;
    }
    if (!parts_.state.uploadPending) {
        parts_.view.OnTimer();  // only the "File:" field: no terminal call
        return;
    }
    CVK900ConfigView& view = parts_.view;
    StartJob(TerminalJob::kUpload, [&view] { view.OnTimer(); });
}

void Application::SetBusy(bool busy) {
    parts_.frontEnd.SetBusy(busy);
}

bool Application::AllowClose() {
    if (!CommandRunning()) return true;    // outside jobs nothing is ever asked
    if (closeAfterCommand_) return false;  // asked once: the window closes when it ends
    if (!parts_.frontEnd.AskYesNo(CloseQuestion(job_))) return false;
    parts_.state.stop.Request();
    closeAfterCommand_ = true;
    return !CommandRunning();  // it may have ended while the question was open
}

void Application::ShowPort() {
    parts_.frontEnd.ShowPortReach(parts_.portReach(parts_.state.comPort));
}

void Application::OnComPortMenuShown() {
    // During a job the port is the job's (the Get dialog may change it); the items take no
    // input then and keep what they showed.
    if (CommandRunning()) return;
    for (int port = 1; port <= kPortCount; ++port)
        parts_.frontEnd.ShowComPortItem(port, parts_.view.IsComPortChecked(port),
                                        parts_.portReach(port));
}

void Application::ChangeDevices() {
    if (!parts_.frontEnd.RunDevicesDialog()) return;
    // Links opened before lead to the old devices; they live on the job thread.
    parts_.runner.RunAndWait(parts_.forgetLinks);
    ShowPort();
}

void Application::InitialUpdate() {
    parts_.frontEnd.FitToForm(!firstUpdate_);
    firstUpdate_ = false;
    parts_.view.OnInitialUpdate();
    ShowPort();
}

void Application::NewDocument() {
    parts_.state.document.OnNewDocument();
    parts_.host.SetDocumentTitle(kUntitledDocument);
    InitialUpdate();
}

void Application::OpenFromDialog() {
    if (const std::optional<std::string> path = parts_.frontEnd.AskFileToOpen())
        OpenDocumentFile(*path);
}

bool Application::OpenDocumentFile(const std::string& path) {
    // A file dropped or handed over by a second start while a job runs is dropped too.
    if (CommandRunning()) return false;
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(path, ec);
    if (ec) full = path;
    full = full.lexically_normal();
    if (Status opened = parts_.state.document.OnOpenDocument(full.string(), parts_.host); !opened) {
        parts_.host.MessageBox(opened.error(), kFrameTitle);
        return false;
    }
    parts_.host.SetDocumentTitle(full.filename().string());
    parts_.recent.AddRecentFile(full.string());
    InitialUpdate();
    return true;
}

}  // namespace vk930
