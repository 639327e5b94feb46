// The Win32 window's "Number a series": the stations made of the window's own parts, on plain
// threads, their events carried to the GUI thread.
#include <filesystem>

#include "core/app/device_spec.h"
#include "core/series/std_station_threads.h"
#include "platform/win32/win32_counter.h"
#include "win32window/series_dialog.h"
#include "win32window/wide_text.h"
#include "win32window/win32_app.h"

namespace vk930 {

SeriesDialogParts Win32App::SeriesParts() {
    SeriesDialogParts parts;
    parts.registry = &registry_;
    parts.currentPort = program_.state.comPort;
    StationKit& kit = parts.kit;
    kit.window = &host_;
    kit.settings = &settings_;
    // Each station opens its own port, as the window's link would.
    kit.makeLink = [this](int) -> std::unique_ptr<CLinkCtrl> {
        return std::make_unique<PortRouter>(
            PortOpener(), [this](const std::string& message) { ReportLinkFault(message); },
            ProgramBootFiles());
    };
    kit.recorder = Recording();
    kit.stateFolder = stateFolder_;
    if (options_.sleep)
        kit.sleep = [sleep = options_.sleep](int, int ms, const StopRequest& stop) {
            if (!stop.Requested()) sleep(ms);
        };
    parts.makeThreads = [] { return std::make_unique<StdStationThreads>(); };
    parts.runner = &runner_;
    parts.post = [this](std::function<void()> call) { host_.Gui().Post(std::move(call)); };
    parts.newSeriesId = [] { return NewWin32SeriesId(); };
    parts.fileExists = [](const std::string& path) {
        std::error_code error;
        return std::filesystem::is_regular_file(std::filesystem::path(Widen(path)), error);
    };
    return parts;
}

void Win32App::RunSeriesDialog() {
    // The stations open the ports themselves: the window's own port is let go first, as one
    // device takes one opener.
    runner_.RunAndWait([this] { program_.link.Forget(); });
    Win32SeriesDialog dialog(SeriesParts(), options_.files);
    dialog.RunModal(frame_.Window(), frame_.Module());
}

}  // namespace vk930
