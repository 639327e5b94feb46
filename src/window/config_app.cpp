#include "window/config_app.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

#include "core/commands/progress.h"
#include "core/forms/form_ids.h"
#include "core/forms/menu_template.h"
#include "core/proof/state_folder.h"
#include "platform/link_factory.h"
#include "platform/registry_factory.h"
#include "window/about_dlg.h"
#include "window/devices_dlg.h"
#include "window/file_dialog.h"
#include "window/icons.h"
#include "window/link_area.h"
#include "window/main_form.h"
#include "window/main_frame.h"
#include "window/port_text.h"
#include "window/text.h"

namespace vk930 {

namespace {

// The framework's name for a document that has no file.
const QString kUntitled = QStringLiteral("Untitled");

std::unique_ptr<CMainFrame> MakeFrame() {
    InitWindowResources();
    // The menu stays in the window, whose size is the form's and the menu's, also on desktops
    // with a global menu bar; not asking the desktop for one also spares a bus connection.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    auto frame = std::make_unique<CMainFrame>();
    frame->SetForm(new MainFormWidget);
    return frame;
}

}  // namespace

CConfigApp::CConfigApp(const WindowOptions& options, Sleeper sleep)
    : options_(options),
      settings_(options.settingsPath),
      frame_(MakeFrame()),
      form_(frame_->Form()),
      host_(*frame_, *form_, settings_,
            sleep ? std::move(sleep) : Sleeper([this](int milliseconds) {
                SleepUnlessStopped(milliseconds, &state_.stop);
            })),
      link_(
          MakePortOpener(options.link, settings_, ProgramBootFileLookup(),
                         [this](const std::string& message) { ReportLinkFault(message); }),
          [this](const std::string& message) { ReportLinkFault(message); },
          ProgramBootFileLookup()),
      view_(host_, link_, settings_, state_),
      serviceLog_(ServiceLogPath(StateFolder())),
      proofChannel_(*form_, host_),
      recent_(QString::fromLatin1(kProfileKey), QString::fromLatin1(kProfileName),
              kRecentFileCount) {
    BuildCommandMap();
    OpenRecords();
    RecorderSetup record;
    record.sink = registry_ ? static_cast<ServiceLogSink*>(registry_.get()) : &serviceLog_;
    record.channel = &proofChannel_;
    record.program = "vk930config";
    record.version = PROJECT_VERSION;
    record.reach = [this](int port) { return DeviceSpecFor(port, options_.link, settings_); };
    view_.SetRecorder(std::move(record));
    connect(frame_.get(), &CMainFrame::command, this, &CConfigApp::OnCommand);
    connect(form_, &MainFormWidget::command, this, &CConfigApp::OnCommand);
    connect(form_, &MainFormWidget::commIdEdited, this, [this](const QString& text) {
        if (!CommandRunning()) view_.OnCommIdEdited(ToStd(text));
    });
    connect(frame_.get(), &CMainFrame::comPortMenuAboutToShow, this,
            &CConfigApp::UpdateComPortMenu);
    connect(frame_.get(), &CMainFrame::fileDropped, this, &CConfigApp::OpenDocumentFile);
    connect(&runner_, &CommandRunner::finished, this, &CConfigApp::OnJobFinished);
    frame_->OnCloseRequest([this] { return AllowClose(); });
    host_.OnFormTimer([this] { OnFormTimer(); });
    link_.SetUploadProgress(UploadProgressTo(host_));
}

CConfigApp::~CConfigApp() {
    runner_.WaitForIdle();
    // The links were opened on the command thread, and are closed there.
    runner_.RunAndWait([this] { link_.Forget(); });
}

void CConfigApp::BuildCommandMap() {
    auto onGui = [](std::function<void()> run) { return Command{std::move(run), std::nullopt}; };
    auto job = [](Job kind, std::function<void()> run) { return Command{std::move(run), kind}; };
    commands_ = {
        {id::kCmdNew, onGui([this] { OnFileNew(); })},
        {id::kCmdOpen, onGui([this] { OnFileOpen(); })},
        {id::kCmdAbout, onGui([this] { OnAppAbout(); })},
        {id::kCmdExit, onGui([this] { OnAppExit(); })},
        {id::kClearListButton, onGui([this] { view_.OnClearList(); })},
        {id::kEditWithNotepadButton, onGui([this] { view_.OnEditWithNotepad(); })},
        // Closing the document closes its frame, the main window: the program ends.
        {id::kCloseButton, onGui([this] { frame_->close(); })},
        {id::kReadDeviceInfoButton, job(Job::kIdentify, [this] { view_.OnReadDeviceInfo(); })},
        {id::kSetCommIdButton, job(Job::kCommId, [this] { view_.OnSetCommId(); })},
        {id::kNextCommIdButton, job(Job::kCommId, [this] { view_.OnNextCommId(); })},
        {id::kGetButton, job(Job::kGet, [this] { view_.OnGet(); })},
        {id::kGetKeyedButton, job(Job::kGet, [this] { view_.OnGetParameters(); })},
        {id::kSetButton, job(Job::kSet, [this] { view_.OnSet(); })},
        {id::kSetRunButton, job(Job::kSet, [this] { view_.OnSetParameters(); })},
        {id::kCmdFirmwareUpdate, job(Job::kUpload, [this] { view_.OnFirmwareUpdate(); })},
        // Links opened before lead to the old devices; they live on the command thread.
        {id::kCmdDevices, onGui([this] {
             if (RunDevicesDialog(frame_.get(), settings_, options_.link)) {
                 runner_.RunAndWait([this] { link_.Forget(); });
                 ShowPort();
             }
         })},
    };
    for (int port = 1; port <= 8; ++port)
        commands_[id::kCmdComPort1 + port - 1] = onGui([this, port] {
            view_.SelectComPort(port);
            ShowPort();
        });
}

// A port whose configuration is wrong, or whose device cannot be opened or went away: the
// reason, in a box, besides the command's own log lines.
// The records go where the settings' "Registry" says, as vk930ctl's do. A shared registry also
// keeps the shop's counter, which the next-ID button cannot count with: the view refuses it.
void CConfigApp::OpenRecords() {
    RegistryChoice choice;
    choice.settings = &settings_;
    choice.settingsPath = settings_.Path().toStdString();
    choice.stateFolder = StateFolder();
    state_.sharedRegistry = ChosenRegistryAddress(choice);
    Result<std::unique_ptr<TerminalRegistry>> opened = OpenRegistry(choice);
    if (opened) {
        registry_ = std::move(*opened);
        view_.SetRegistry(registry_.get());
    } else if (!state_.sharedRegistry.empty()) {
        state_.sharedRegistry += " (" + opened.error() + ")";
    }
}

void CConfigApp::ReportLinkFault(const std::string& message) {
    host_.MessageBox(message, kFrameTitle);
}

void CConfigApp::OnCommand(int id) {
    const auto found = commands_.find(id);
    if (found == commands_.end()) return;
    if (CommandRunning()) {
        // Input made during a command is dropped, never run after it; closing asks.
        if (id == id::kCmdExit || id == id::kCloseButton) frame_->close();
        return;
    }
    const Command& command = found->second;
    if (!command.job) {
        command.run();
        return;
    }
    state_.stop.Clear();  // a stop asked of an earlier command is not this one's
    StartJob(*command.job, command.run);
}

bool CConfigApp::CommandRunning() const {
    return runner_.Running() || (state_.uploadPending && host_.FormTimerPending());
}

void CConfigApp::StartJob(Job job, std::function<void()> run) {
    job_ = job;
    SetBusy(true);
    runner_.Start(std::move(run));
}

void CConfigApp::OnJobFinished() {
    form_->Link().ClearProgress();
    ShowPort();                    // the Get dialog may have chosen another port
    if (CommandRunning()) return;  // the firmware upload waits for the form timer
    if (timerDeferred_) {
        timerDeferred_ = false;
        OnFormTimer();
        if (CommandRunning()) return;
    }
    SetBusy(false);
    if (closeAfterCommand_) frame_->close();
}

// The form timer's expiry is the program's own event, not input: one that comes while a
// command runs is served once the command has ended.
void CConfigApp::OnFormTimer() {
    if (runner_.Running()) {
        timerDeferred_ = true;
        return;
    }
    if (!state_.uploadPending) {
        view_.OnTimer();  // only the "File:" field: no terminal command
        return;
    }
    StartJob(Job::kUpload, [this] { view_.OnTimer(); });
}

void CConfigApp::SetBusy(bool busy) {
    form_->SetBusy(busy);
    frame_->SetBusy(busy);
}

namespace {

// What stopping a command after its current step leaves behind.
QString WhatStoppingLeaves(CConfigApp::Job job) {
    switch (job) {
        case CConfigApp::Job::kUpload:
            return QStringLiteral(
                "A firmware upload is running. Stopped now, the terminal stays in its boot "
                "loader without a complete firmware: it must be uploaded again before the "
                "terminal can be used.");
        case CConfigApp::Job::kSet:
            return QStringLiteral(
                "A parameter file is being programmed. Stopped now, the terminal keeps the "
                "values written so far; the rest of the file, the function keys and the "
                "reset are left out.");
        case CConfigApp::Job::kCommId:
            return QStringLiteral(
                "A communication ID is being written. Stopped now, the terminal may have "
                "the new ID without having been identified again, and the ID may not be "
                "remembered for the next one.");
        case CConfigApp::Job::kGet:
            return QStringLiteral(
                "The parameters are being read. Stopped now, no file is written; a file "
                "that was there stays as it was.");
        case CConfigApp::Job::kIdentify:
            break;
    }
    return QStringLiteral(
        "The terminal is being identified. Stopped now, the fields show what was read so far.");
}

}  // namespace

bool CConfigApp::AllowClose() {
    if (!CommandRunning()) return true;    // outside commands nothing is ever asked
    if (closeAfterCommand_) return false;  // asked once: the window closes when it ends
    QMessageBox question(
        QMessageBox::Question, kFrameTitle,
        WhatStoppingLeaves(job_) + QStringLiteral("\n\nStop it after its current step and close?"),
        QMessageBox::Yes | QMessageBox::No, frame_.get());
    question.setDefaultButton(QMessageBox::No);
    question.setTextFormat(Qt::PlainText);
    if (question.exec() != QMessageBox::Yes) return false;
    state_.stop.Request();
    closeAfterCommand_ = true;
    return !CommandRunning();  // it may have ended while the question was open
}

void CConfigApp::ShowPort() {
    form_->Link().SetPortText(PortReachText(state_.comPort, options_.link, settings_));
}

void CConfigApp::UpdateComPortMenu() {
    // During a command the port is the command's (the Get dialog may change it); the items
    // take no input then and keep what they showed.
    if (CommandRunning()) return;
    for (int port = 1; port <= 8; ++port)
        frame_->SetComPortItem(port, view_.IsComPortChecked(port),
                               PortReachText(port, options_.link, settings_));
}

bool CConfigApp::InitInstance() {
    if (options_.file.isEmpty())
        OnFileNew();
    else if (!OpenDocumentFile(options_.file))
        return false;
    frame_->show();
    return true;
}

void CConfigApp::InitialUpdate() {
    frame_->FitToForm(!firstUpdate_);
    firstUpdate_ = false;
    view_.OnInitialUpdate();
    ShowPort();
}

void CConfigApp::OnFileNew() {
    state_.document.OnNewDocument();
    frame_->SetDocumentTitle(kUntitled);
    InitialUpdate();
}

void CConfigApp::OnFileOpen() {
    if (const std::optional<QString> path = RunOpenDocumentDialog(frame_.get()))
        OpenDocumentFile(*path);
}

bool CConfigApp::OpenDocumentFile(const QString& path) {
    // A file dropped or handed over by a second start while a command runs is dropped too.
    if (CommandRunning()) return false;
    const QString full = QFileInfo(path).absoluteFilePath();
    if (Status opened = state_.document.OnOpenDocument(ToStd(full), host_); !opened) {
        host_.MessageBox(opened.error(), kFrameTitle);
        return false;
    }
    frame_->SetDocumentTitle(QFileInfo(full).fileName());
    recent_.Add(full);
    InitialUpdate();
    return true;
}

void CConfigApp::OnAppAbout() {
    CAboutDlg about(frame_.get());
    about.exec();
}

void CConfigApp::OnAppExit() {
    frame_->close();
}

}  // namespace vk930
