// The Qt window's "Number a series": the dialog's parts made of the window's own.
#include <QCoreApplication>
#include <QFileInfo>
#include <QMetaObject>

#include "core/link/port_router.h"
#include "platform/link_factory.h"
#include "platform/qt_station_threads.h"
#include "platform/series_id.h"
#include "window/config_app.h"
#include "window/main_frame.h"
#include "window/series_dlg.h"
#include "window/text.h"

namespace vk930 {

SeriesDialogParts CConfigApp::SeriesParts() {
    SeriesDialogParts parts;
    const RecordsPlace records = Records();
    parts.registry = records.registry;
    parts.registryProblem = records.Problem();
    parts.sharedRegistry = records.sharedRegistry;
    parts.currentPort = program_.state.comPort;
    StationKit& kit = parts.kit;
    kit.window = &host_;
    kit.settings = &settings_;
    // Each station opens its own port, as the window's link would.
    kit.makeLink = [this](int) -> std::unique_ptr<CLinkCtrl> {
        const auto fault = [this](const std::string& message) { ReportLinkFault(message); };
        return std::make_unique<PortRouter>(
            MakePortOpener(options_.link, settings_, ProgramBootFileLookup(), fault), fault,
            ProgramBootFileLookup());
    };
    kit.recorder = Recording();
    if (testSleep_)
        kit.sleep = [sleep = testSleep_](int, int ms, const StopRequest& stop) {
            if (!stop.Requested()) sleep(ms);
        };
    parts.makeThreads = [] { return std::make_unique<QtStationThreads>(); };
    parts.runner = &runner_;
    parts.post = [](std::function<void()> call) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(call),
                                  Qt::QueuedConnection);
    };
    parts.newSeriesId = [] { return NewSeriesId(); };
    parts.fileExists = [](const std::string& path) { return QFileInfo(ToQ(path)).isFile(); };
    return parts;
}

void CConfigApp::RunSeriesDialog() {
    // The stations open the ports themselves: the window's own port is let go first, as one
    // device takes one opener.
    runner_.RunAndWait([this] { program_.link.Forget(); });
    CSeriesDlg dialog(SeriesParts(), frame_.get());
    dialog.exec();
}

}  // namespace vk930
