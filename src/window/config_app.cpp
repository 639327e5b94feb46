#include "window/config_app.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>

#include "core/forms/form_ids.h"
#include "core/forms/menu_template.h"
#include "platform/link_factory.h"
#include "window/about_dlg.h"
#include "window/devices_dlg.h"
#include "window/file_dialog.h"
#include "window/icons.h"
#include "window/main_form.h"
#include "window/main_frame.h"
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
      host_(*frame_, *form_, settings_, std::move(sleep)),
      link_(MakePortOpener(options.link, settings_, ProgramBootFileLookup(),
                           [this](const std::string& message) { ReportLinkFault(message); }),
            [this](const std::string& message) { ReportLinkFault(message); }),
      view_(host_, link_, settings_, state_),
      recent_(QString::fromLatin1(kProfileKey), QString::fromLatin1(kProfileName),
              kRecentFileCount) {
    BuildCommandMap();
    connect(frame_.get(), &CMainFrame::command, this, &CConfigApp::OnCommand);
    connect(form_, &MainFormWidget::command, this, &CConfigApp::OnCommand);
    connect(form_, &MainFormWidget::commIdEdited, this,
            [this](const QString& text) { view_.OnCommIdEdited(ToStd(text)); });
    connect(frame_.get(), &CMainFrame::comPortMenuAboutToShow, this,
            &CConfigApp::UpdateComPortMenu);
    connect(frame_.get(), &CMainFrame::fileDropped, this, &CConfigApp::OpenDocumentFile);
    host_.OnFormTimer([this] { view_.OnTimer(); });
}

CConfigApp::~CConfigApp() = default;

void CConfigApp::BuildCommandMap() {
    commands_ = {
        {id::kCmdNew, [this] { OnFileNew(); }},
        {id::kCmdOpen, [this] { OnFileOpen(); }},
        {id::kCmdAbout, [this] { OnAppAbout(); }},
        {id::kCmdExit, [this] { OnAppExit(); }},
        {id::kClearListButton, [this] { view_.OnClearList(); }},
        {id::kEditWithNotepadButton, [this] { view_.OnEditWithNotepad(); }},
        // Closing the document closes its frame, the main window: the program ends.
        {id::kCloseButton, [this] { frame_->close(); }},
        {id::kReadDeviceInfoButton, [this] { view_.OnReadDeviceInfo(); }},
        {id::kSetCommIdButton, [this] { view_.OnSetCommId(); }},
        {id::kNextCommIdButton, [this] { view_.OnNextCommId(); }},
        {id::kGetButton, [this] { view_.OnGet(); }},
        {id::kGetKeyedButton, [this] { view_.OnGetParameters(); }},
        {id::kSetButton, [this] { view_.OnSet(); }},
        {id::kSetRunButton, [this] { view_.OnSetParameters(); }},
        {id::kCmdFirmwareUpdate, [this] { view_.OnFirmwareUpdate(); }},
        // Links opened before lead to the old devices.
        {id::kCmdDevices,
         [this] {
             if (RunDevicesDialog(frame_.get(), settings_, options_.link)) link_.Forget();
         }},
    };
    for (int port = 1; port <= 8; ++port)
        commands_[id::kCmdComPort1 + port - 1] = [this, port] { view_.SelectComPort(port); };
}

// A port whose configuration is wrong, or whose device cannot be opened or went away: the
// reason, in a box, besides the command's own log lines.
void CConfigApp::ReportLinkFault(const std::string& message) {
    host_.MessageBox(message, kFrameTitle);
}

void CConfigApp::OnCommand(int id) {
    const auto found = commands_.find(id);
    if (found != commands_.end()) found->second();
}

void CConfigApp::UpdateComPortMenu() {
    for (int port = 1; port <= 8; ++port)
        frame_->MenuCommand(id::kCmdComPort1 + port - 1)->setChecked(view_.IsComPortChecked(port));
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
