// vk930-screenshots: saves pictures of the main window, the About box, the two dialogs and the
// Tools dialogs, as the documentation shows them, and of the window during a firmware upload:
//   vk930-screenshots FOLDER [DEVICE FIRMWARE]
// The window runs on a simulated terminal in memory with a settings file of its own that
// allows editing the CommID, and "&Read Device Info" has been pressed, so that every control
// the user can ever see is shown. Given the device of a paced vk930-sim and a firmware file,
// a second window uploads it there and is drawn when a third of the image has been sent.
// The "Number a series" dialog is drawn while two stations each wait for a numbered terminal's
// removal.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "core/forms/dialog_ids.h"
#include "core/forms/form_ids.h"
#include "core/forms/tool_ids.h"
#include "core/settings/settings_keys.h"
#include "window/about_dlg.h"
#include "window/config_app.h"
#include "window/firmware_dlg.h"
#include "window/get_params_dlg.h"
#include "window/link_area.h"
#include "window/main_form.h"
#include "window/main_frame.h"
#include "window/series_dlg.h"
#include "window/tool_dlg.h"

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

// The series dialog on COM1 and COM2, each station's first terminal numbered and to be removed
// (the simulated terminals leave 2 s after their restart); the series is then let finish.
bool SaveSeries(const QString& settings, const QString& parameterFile, const QString& file) {
    WindowOptions options;
    options.link = "sim?series=2&remove=2000&plugin=300";
    options.settingsPath = settings;
    CConfigApp config(options,
                      [](int ms) { QThread::msleep(static_cast<unsigned>(std::min(ms, 20))); });
    CSeriesDlg dialog(config.SeriesParts(), &config.Frame());
    dialog.show();
    const auto control = [&dialog](int id) {
        return dialog.findChild<QWidget*>(ControlObjectName(id));
    };
    qobject_cast<QLineEdit*>(control(id::kSeriesCount))->setText("2");
    qobject_cast<QLineEdit*>(control(id::kSeriesFile))->setText(parameterFile);
    qobject_cast<QCheckBox*>(control(id::kSeriesPort1 + 1))->setChecked(true);
    qobject_cast<QPushButton*>(control(id::kSeriesStart))->click();
    auto* table = qobject_cast<QTableWidget*>(control(id::kSeriesTable));
    const auto toRemove = [table] {
        int rows = 0;
        for (int row = 0; row < table->rowCount(); ++row)
            rows += table->item(row, 1) && table->item(row, 1)->text() == "done: remove it";
        return rows;
    };
    for (int waited = 0; toRemove() < 2 && waited < 20000; waited += 10) Settle(10);
    bool saved = Save(dialog, file);
    for (int waited = 0; dialog.Logic().Running() && waited < 60000; waited += 10) Settle(10);
    saved = saved && !dialog.Logic().Running();
    dialog.reject();
    return saved;
}

// Answers the firmware dialog with the file, as a user who picked it would.
void AnswerFirmwareDialog(const QString& file) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, file] {
        auto* dialog = qobject_cast<CFirmwareDlg*>(QApplication::activeModalWidget());
        if (!dialog) return;
        dialog->m_strFile = file;
        auto* path = dialog->findChild<QLabel*>(ControlObjectName(id::kFwFilePath));
        if (path) path->setText(file);
        dialog->accept();
        poll->deleteLater();
    });
    poll->start(50);
}

// The window while the upload runs, drawn from the GUI thread as the bar passes a third.
bool SaveDuringUpload(const QString& device, const QString& firmware, const QString& settings,
                      const QString& file) {
    WindowOptions options;
    options.link = device.toStdString();
    options.settingsPath = settings;
    CConfigApp config(options);
    if (!config.InitInstance()) return false;
    Settle(200);
    bool saved = false;
    const QProgressBar& bar = config.Form().Link().Bar();
    QObject::connect(&bar, &QProgressBar::valueChanged, [&](int value) {
        if (saved || bar.maximum() <= 1 || value * 3 < bar.maximum()) return;
        saved = config.Frame().grab().save(file);
    });
    AnswerFirmwareDialog(firmware);
    config.OnCommand(id::kCmdFirmwareUpdate);
    for (int waited = 0; config.CommandRunning() && waited < 120000; waited += 10) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(file));
    return saved;
}

// Opens a Tools dialog from its menu item, lets `drive` use it as a person would (each job it
// starts has ended before the picture), draws it and closes it.
bool SaveTool(CConfigApp& config, int command, const std::function<void(QWidget*)>& drive,
              const QString& file) {
    bool saved = false;
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [&, poll] {
        auto* dialog = qobject_cast<CToolDlg*>(QApplication::activeModalWidget());
        if (!dialog) return;
        poll->stop();
        drive(dialog);
        for (int waited = 0; config.CommandRunning() && waited < 30000; waited += 10) {
            QApplication::processEvents();
            QThread::msleep(10);
        }
        saved = Save(*dialog, file);
        dialog->findChild<QPushButton*>(ControlObjectName(id::kCancel))->click();
        poll->deleteLater();
    });
    poll->start(50);
    config.OnCommand(command);
    return saved;
}

void Press(QWidget* dialog, int id) {
    dialog->findChild<QPushButton*>(ControlObjectName(id))->click();
}

void ChooseFirstRow(QWidget* dialog, int id) {
    auto* list = dialog->findChild<QTreeWidget*>(ControlObjectName(id));
    list->setCurrentItem(list->topLevelItem(0));
}

// The Tools dialogs over a document that changes a few keys: Compare before its Set, the
// backups and the history after it.
bool SaveTools(CConfigApp& config, const QDir& folder) {
    bool ok = SaveTool(
        config, id::kCmdCompare, [](QWidget* dialog) { Press(dialog, id::kCompareRun); },
        folder.filePath("compare.png"));
    // A Set leaves a backup and a record behind, Read Device Info another record.
    config.View().OnSet();
    config.View().OnReadDeviceInfo();
    ok = SaveTool(
             config, id::kCmdBackups,
             [](QWidget* dialog) { ChooseFirstRow(dialog, id::kBackupsList); },
             folder.filePath("backups.png")) &&
         ok;
    ok = SaveTool(
             config, id::kCmdServiceHistory,
             [](QWidget* dialog) { ChooseFirstRow(dialog, id::kHistoryList); },
             folder.filePath("service_history.png")) &&
         ok;
    return ok;
}

// A document that sets a heading and a few bytes the factory pages hold otherwise.
QString ShopFile(const QTemporaryDir& temp) {
    const QString path = temp.filePath("shop-3.pcg");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(
            "HEADING:Shop 3\r\nSYSTEM:0,201,7\r\nSYSTEM:1,20,250\r\nNOSUCHKEY:1\r\n"
            "END\r\n");
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2 && args.size() != 4) {
        std::fprintf(stderr, "usage: vk930-screenshots FOLDER [DEVICE FIRMWARE]\n");
        return 2;
    }
    const QDir folder(args[1]);
    QTemporaryDir temp;
    const QString settingsPath = temp.filePath("VK930Config.ini");
    QSettings(settingsPath, QSettings::IniFormat).setValue(kValueAllowEditSno, 1);

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
    const QString parameterFile = temp.filePath("bench-series.pcg");
    QFile pcg(parameterFile);
    ok = pcg.open(QIODevice::WriteOnly) && pcg.write("HEADING:SERIES\r\nEND\r\n") > 0 && ok;
    pcg.close();
    ok = SaveSeries(settingsPath, parameterFile, folder.filePath("number_series.png")) && ok;
    WindowOptions shop = options;
    shop.file = ShopFile(temp);
    CConfigApp tools(shop, [](int) {});
    ok = tools.InitInstance() && SaveTools(tools, folder) && ok;
    tools.Frame().hide();
    if (args.size() == 4)
        ok = SaveDuringUpload(args[2], args[3], settingsPath, folder.filePath("uploading.png")) &&
             ok;
    return ok ? 0 : 1;
}
