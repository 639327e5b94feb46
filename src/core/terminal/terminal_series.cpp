// The terminal model's part in a series: terminals removed after their last reset and
// factory-fresh ones plugged in, on a clock or step by step.
#include <chrono>
#include <fstream>

#include "core/terminal/terminal_model.h"

namespace vk930 {

namespace {

bool WritePages(const std::string& path, const std::array<PageBytes, 2>& pages) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const auto& page : pages) out.write(reinterpret_cast<const char*>(page.data()), kPageSize);
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace

std::string RemovedTerminalPath(const std::string& stateFile, int number) {
    return stateFile + "." + std::to_string(number);
}

std::int64_t TerminalModel::Now() const {
    if (clock_) return clock_();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool TerminalModel::Present() {
    if (!InSeries()) return !spec_.absent;
    const std::int64_t now = Now();
    for (PlugSchedule::Event e = schedule_.Advance(now); e != PlugSchedule::Event::kNone;
         e = schedule_.Advance(now))
        Apply(e);
    return schedule_.Present();
}

bool TerminalModel::Reset() {
    if (spec_.faults.failReset) return false;
    ++resetCount_;
    if (InSeries()) schedule_.NoteReset(Now());
    return true;
}

void TerminalModel::RemoveTerminal() {
    if (InSeries()) Apply(schedule_.RemoveNow(Now()));
}

void TerminalModel::PlugInTerminal() {
    if (InSeries()) Apply(schedule_.PlugInNow(Now()));
}

void TerminalModel::Apply(PlugSchedule::Event event) {
    const std::string number = std::to_string(schedule_.Number());
    if (event == PlugSchedule::Event::kRemoved) {
        const std::array<PageBytes, 2> held = {Page(0), Page(1)};
        removed_.push_back(held);
        if (!spec_.stateFile.empty()) {
            WritePages(RemovedTerminalPath(spec_.stateFile, schedule_.Number()), held);
            // The cradle's file no longer shows the terminal that left: the next one to come
            // is factory-fresh, and a look at the files while the cradle is empty (or after the
            // simulator stopped before the next one came) finds each terminal once.
            WritePages(spec_.stateFile, FactoryPages());
        }
        if (events_) events_("terminal " + number + " removed");
    } else if (event == PlugSchedule::Event::kPluggedIn) {
        pages_ = FactoryPages();
        if (!spec_.stateFile.empty()) WritePages(spec_.stateFile, pages_);
        version_ = spec_.version;
        firmware_ = {};
        if (events_) events_("terminal " + number + " plugged in");
    }
}

}  // namespace vk930
