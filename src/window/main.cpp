// vk930config: the VK930 configuration utility's window.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>

#include "core/app/single_instance.h"
#include "core/forms/menu_template.h"
#include "core/terminal/link_spec.h"
#include "window/config_app.h"
#include "window/file_types.h"
#include "window/first_paint.h"
#include "window/main_frame.h"
#include "window/shell_open.h"
#include "window/text.h"

using namespace vk930;

namespace {

constexpr int kExitUsage = 2;

int UsageError(const std::string& message) {
    std::fprintf(stderr, "vk930config: %s\nTry 'vk930config --help'.\n", message.c_str());
    return kExitUsage;
}

// A configuration fault that keeps the window from starting: shown in a box too, since a
// window started from the desktop has nobody reading standard error.
int ConfigurationFault(const std::string& message) {
    std::fprintf(stderr, "vk930config: %s\n", message.c_str());
    QMessageBox box(QMessageBox::Critical, kFrameTitle, ToQ(message), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return kExitUsage;
}

bool LinkSpecIsValid(const std::optional<std::string>& link) {
    if (!link) return true;
    const Result<LinkSpec> spec = ParseLinkSpec(*link);
    if (spec) return true;
    ConfigurationFault("--link " + *link + ": " + spec.error());
    return false;
}

// Benchmarks: print when the window was first painted, then end.
void ExitWhenShown(CMainFrame& frame) {
    WhenFirstPainted(frame, [] {
        std::printf("shown %lld\n", MonotonicNanoseconds());
        std::fflush(stdout);
        QApplication::quit();
    });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(kProfileName);
    QApplication::setApplicationVersion(PROJECT_VERSION);
    Result<WindowOptions> options = ParseWindowCommandLine(QApplication::arguments());
    if (!options) return UsageError(options.error());
    if (!LinkSpecIsValid(options->link)) return kExitUsage;

    const QString socket =
        ShellOpenSocketPath(QSettingsBackendFactory(options->settingsPath).Path());
    if (OffersFileToRunningWindow(ToStd(options->file)) &&
        HandToRunningWindow(socket, options->file))
        return 0;
    RegisterShellFileTypes();

    CConfigApp config(*options);
    if (const std::optional<std::string>& problem = config.IdRegistryProblem())
        return ConfigurationFault(*problem);
    ShellOpenServer shellOpen;
    shellOpen.Listen(socket);
    QObject::connect(&shellOpen, &ShellOpenServer::openRequested, &config,
                     [&](const QString& path) {
                         config.Frame().activateWindow();
                         config.Frame().raise();
                         config.OpenDocumentFile(path);
                     });
    if (options->exitWhenShown) ExitWhenShown(config.Frame());
    if (!config.InitInstance()) return 1;
    return QApplication::exec();
}
