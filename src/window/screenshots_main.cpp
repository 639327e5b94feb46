// vk930-screenshots: saves pictures of the main window, the About box and the two dialogs,
// as the documentation shows them:
//   vk930-screenshots FOLDER
// The window runs on a simulated terminal in memory with a settings file of its own that
// allows editing the CommID, and "&Read Device Info" has been pressed, so that every control
// the user can ever see is shown.
#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

#include "window/about_dlg.h"
#include "window/config_app.h"
#include "window/firmware_dlg.h"
#include "window/get_params_dlg.h"
#include "window/main_frame.h"

using namespace vk930;

namespace {

void Settle(int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 10) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    QApplication::processEvents();
}

bool Save(QWidget& widget, const QString& file) {
    widget.show();
    Settle(200);
    const bool saved = widget.grab().save(file);
    std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(file));
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: vk930-screenshots FOLDER\n");
        return 2;
    }
    const QDir folder(args[1]);
    QTemporaryDir temp;
    const QString settingsPath = temp.filePath("VK930Config.ini");
    QSettings(settingsPath, QSettings::IniFormat).setValue("AllowEditSno", 1);

    WindowOptions options;
    options.link = "sim";
    options.settingsPath = settingsPath;
    CConfigApp config(options, [](int) {});
    if (!config.InitInstance()) return 1;
    Settle(200);
    config.View().OnReadDeviceInfo();
    bool ok = Save(config.Frame(), folder.filePath("main_form.png"));
    CAboutDlg about(&config.Frame());
    ok = Save(about, folder.filePath("about.png")) && ok;
    CGetParamsDlg getParams(0, "/home/technician/terminal-0001.pcg", &config.Frame());
    ok = Save(getParams, folder.filePath("get_parameters.png")) && ok;
    CFirmwareDlg firmware(&config.Frame());
    ok = Save(firmware, folder.filePath("firmware_upload.png")) && ok;
    return ok ? 0 : 1;
}
