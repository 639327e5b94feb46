// A series station's host inside a window.
#include "core/series/station_host.h"

namespace vk930 {

void StationHost::AppendLog(std::string text, int kind) {
    window_.AppendLog(prefix_ + text, kind);
}

void StationHost::AppendEntry(std::string text, int kind, EntrySeverity severity) {
    window_.AppendEntry(prefix_ + text, kind, severity);
}

void StationHost::MessageBox(const std::string& text, const std::string& caption) {
    window_.MessageBox(prefix_ + text, caption);
}

void StationHost::Sleep(int milliseconds) {
    if (sleep_)
        sleep_(port_, milliseconds, *stop_);
    else
        SleepUnlessStopped(milliseconds, stop_);
}

}  // namespace vk930
