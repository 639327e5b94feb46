// Operation log benchmark: appends 100,000 entries to the log of the real main form through
// the window's host, in ten blocks of 10,000, and prints the time of the whole run and of the
// first and the last block, with their ratio.
//   "a pass every 100 entries": the event loop runs (scroll to the newest entry and paint)
//       after every 100 entries, as when short commands follow one another;
//   "one long command": the entries come with no event processing at all, as from one long
//       blocking command; the window paints once at the end (included in the total).
// Times are the CPU time of the program's thread (the machine may be busy with other work),
// each the median of five runs; the wall-clock total is printed too.
#include <time.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/forms/form_ids.h"
#include "window/config_app.h"
#include "window/main_frame.h"

using namespace vk930;

namespace {

constexpr int kBlocks = 10;
constexpr int kBlockSize = 10000;
constexpr int kRepeats = 5;

double CpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

struct Run {
    std::vector<double> blockMs;  // CPU time of each block
    double totalMs = 0;           // CPU time of everything, the final paint included
    double wallMs = 0;
};

Run AppendAll(CConfigApp& app, int passEvery) {
    Run run;
    QElapsedTimer wall;
    wall.start();
    const double start = CpuMs();
    for (int block = 0; block < kBlocks; ++block) {
        const double blockStart = CpuMs();
        for (int i = 0; i < kBlockSize; ++i) {
            app.Host().AppendLog(
                "Warning! Sleep value range should be 5-99 sec. #" + std::to_string(i), i % 3);
            if (passEvery > 0 && i % passEvery == passEvery - 1) QApplication::processEvents();
        }
        run.blockMs.push_back(CpuMs() - blockStart);
    }
    QApplication::processEvents();  // the window shows the newest entry
    run.totalMs = CpuMs() - start;
    run.wallMs = wall.nsecsElapsed() / 1e6;
    app.OnCommand(id::kClearListButton);
    QApplication::processEvents();
    return run;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Report(const char* name, const std::vector<Run>& runs) {
    std::vector<double> total, wall, first, last;
    for (const Run& r : runs) {
        total.push_back(r.totalMs);
        wall.push_back(r.wallMs);
        first.push_back(r.blockMs.front());
        last.push_back(r.blockMs.back());
    }
    std::printf(
        "  log, %s: 100,000 entries in %.0f ms CPU (%.0f ms wall; goal < 2000), "
        "first 10,000 %.1f ms, last 10,000 %.1f ms, ratio %.2f (goal <= 1.50)\n",
        name, Median(total), Median(wall), Median(first), Median(last),
        Median(last) / Median(first));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    QTemporaryDir settings;
    WindowOptions options;
    options.link = "none";
    options.settingsPath = settings.filePath("bench.ini");
    CConfigApp app(options, [](int) {});
    if (!app.InitInstance()) return 1;
    QApplication::processEvents();
    for (const auto& [name, passEvery] :
         {std::pair{"a pass every 100 entries", 100}, std::pair{"one long command", 0}}) {
        std::vector<Run> runs;
        for (int r = 0; r < kRepeats; ++r) runs.push_back(AppendAll(app, passEvery));
        Report(name, runs);
    }
    return 0;
}
