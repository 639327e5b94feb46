// The Qt window's set-up, and the FrontEnd the core's Application drives, in widgets.
#include "window/config_app.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "core/commands/progress.h"
#include "core/forms/form_ids.h"
#include "core/forms/menu_template.h"
#include "core/proof/state_folder.h"
#include "platform/link_factory.h"
#include "platform/port_assignment.h"
#include "platform/postgres_address.h"
#include "platform/registry_factory.h"
#include "window/about_dlg.h"
#include "window/devices_dlg.h"
#include "window/file_dialog.h"
#include "window/icons.h"
#include "window/link_area.h"
#include "window/main_form.h"
#include "window/main_frame.h"
#include "window/text.h"
#include "window/tool_dlg.h"

namespace vk930 {

namespace {

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
      host_(*frame_, *form_, settings_, sleep ? sleep : Sleeper([this](int milliseconds) {
          SleepUnlessStopped(milliseconds, &program_.state.stop);
      })),
      proofChannel_(*form_, host_),
      idRegistry_(OpenIdRegistry()),
      program_(Setup()),
      history_([this](const RecordQuery& query) { return Records().Find(query); },
               Records().Where()),
      recent_(QString::fromLatin1(kProfileKey), QString::fromLatin1(kProfileName),
              kRecentFileCount),
      app_(AppParts{host_, program_.view, program_.state, recent_, *this, runner_,
                    [this](int port) { return PortReach(port); },
                    [this] { program_.link.Forget(); }, &history_}) {
    testSleep_ = sleep;  // the host took a copy: the series' stations sleep the same way
    connect(frame_.get(), &CMainFrame::command, this, &CConfigApp::OnCommand);
    connect(form_, &MainFormWidget::command, this, &CConfigApp::OnCommand);
    connect(form_, &MainFormWidget::commIdEdited, this,
            [this](const QString& text) { app_.OnCommIdEdited(ToStd(text)); });
    connect(frame_.get(), &CMainFrame::comPortMenuAboutToShow, this,
            [this] { app_.OnComPortMenuShown(); });
    connect(frame_.get(), &CMainFrame::fileDropped, this, &CConfigApp::OpenDocumentFile);
    frame_->OnCloseRequest([this] { return app_.AllowClose(); });
    host_.OnFormTimer([this] { app_.OnFormTimer(); });
    program_.link.SetUploadProgress(UploadProgressTo(host_));
}

CConfigApp::~CConfigApp() {
    runner_.WaitForIdle();
    // The links were opened on the command thread, and are closed there.
    runner_.RunAndWait([this] { program_.link.Forget(); });
}

namespace {

RegistryChoice ChoiceOf(QSettingsBackendFactory& settings) {
    RegistryChoice choice;
    choice.settings = &settings;
    choice.settingsPath = settings.Path().toStdString();
    choice.stateFolder = StateFolder();
    return choice;
}

}  // namespace

// The records go where the settings' "Registry" says, as vk930ctl's do.
std::unique_ptr<TerminalRegistry> CConfigApp::OpenIdRegistry() {
    RegistryChoice choice = ChoiceOf(settings_);
    // Closing the window during a wait for the registry's server ends the wait (the registry
    // is first used once the program's parts stand).
    choice.stopRequested = [this] { return program_.state.stop.Requested(); };
    // What the registry has to say that is no failure (the counter moved up) goes to a box.
    choice.notice = [this](const std::string& text) { proofChannel_.Notice(text); };
    Result<std::unique_ptr<TerminalRegistry>> opened = OpenRegistry(choice);
    if (opened) return std::move(*opened);
    idRegistryProblem_ = opened.error();
    return nullptr;
}

// A shared registry also keeps the shop's counter, which the next-ID button cannot count
// with: the view refuses it.
ProgramSetup CConfigApp::Setup() {
    const auto reportFault = [this](const std::string& message) { ReportLinkFault(message); };
    return {host_,
            settings_,
            MakePortOpener(options_.link, settings_, ProgramBootFileLookup(), reportFault),
            reportFault,
            ProgramBootFileLookup(),
            Recording(),
            idRegistry_.get(),
            MaskedAddress(ChosenRegistryAddress(ChoiceOf(settings_))),
            std::nullopt};
}

RecorderSetup CConfigApp::Recording() {
    RecorderSetup record;
    record.channel = &proofChannel_;
    record.program = "vk930config";
    record.version = PROJECT_VERSION;
    record.reach = [this](int port) { return DeviceSpecFor(port, options_.link, settings_); };
    return record;
}

// The history shows the records where they go: the shared registry's, else this bench's.
RecordsPlace CConfigApp::Records() const {
    return {idRegistry_.get(), idRegistryProblem_, program_.state.sharedRegistry};
}

// A port whose configuration is wrong, or whose device cannot be opened or went away: the
// reason, in a box, besides the command's own log lines.
void CConfigApp::ReportLinkFault(const std::string& message) {
    host_.MessageBox(message, kFrameTitle);
}

std::string CConfigApp::PortReach(int port) {
    return PortReachText(port, options_.link, settings_);
}

bool CConfigApp::InitInstance() {
    if (!app_.Start(ToStd(options_.file))) return false;
    frame_->show();
    return true;
}

bool CConfigApp::OpenDocumentFile(const QString& path) {
    return app_.OpenDocumentFile(ToStd(path));
}

void CConfigApp::SetBusy(bool busy) {
    form_->SetBusy(busy);
    frame_->SetBusy(busy);
}

bool CConfigApp::AskYesNo(const std::string& question) {
    QMessageBox box(QMessageBox::Question, kFrameTitle, ToQ(question),
                    QMessageBox::Yes | QMessageBox::No, frame_.get());
    box.setDefaultButton(QMessageBox::No);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

void CConfigApp::CloseWindow() {
    frame_->close();
}

void CConfigApp::ShowAbout() {
    CAboutDlg about(frame_.get());
    about.exec();
}

std::optional<std::string> CConfigApp::AskFileToOpen() {
    if (const std::optional<QString> path = RunOpenDocumentDialog(frame_.get()))
        return ToStd(*path);
    return std::nullopt;
}

bool CConfigApp::RunDevicesDialog() {
    return vk930::RunDevicesDialog(frame_.get(), settings_, options_.link);
}

void CConfigApp::RunToolDialog(ToolController& controller) {
    CToolDlg dialog(controller, frame_.get());
    dialog.Run();
}

void CConfigApp::ShowPortReach(const std::string& text) {
    form_->Link().SetPortText(ToQ(text));
}

void CConfigApp::ClearProgress() {
    form_->Link().ClearProgress();
}

void CConfigApp::ShowComPortItem(int port, bool checked, const std::string& reach) {
    frame_->SetComPortItem(port, checked, ToQ(reach));
}

void CConfigApp::FitToForm(bool shrinkOnly) {
    frame_->FitToForm(shrinkOnly);
}

bool CConfigApp::FormTimerPending() const {
    return host_.FormTimerPending();
}

}  // namespace vk930
