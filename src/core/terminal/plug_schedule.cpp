#include "core/terminal/plug_schedule.h"

namespace vk930 {

void PlugSchedule::NoteReset(std::int64_t nowMs) {
    if (!present_) return;
    removalDue_ = true;
    removeAt_ = nowMs + spec_.removeAfterMs;
}

PlugSchedule::Event PlugSchedule::Advance(std::int64_t nowMs) {
    if (present_ && removalDue_ && nowMs >= removeAt_) return RemoveNow(removeAt_);
    if (!present_ && number_ < spec_.count && nowMs >= plugInAt_) return PlugInNow(nowMs);
    return Event::kNone;
}

PlugSchedule::Event PlugSchedule::RemoveNow(std::int64_t nowMs) {
    if (!present_) return Event::kNone;
    present_ = false;
    removalDue_ = false;
    plugInAt_ = nowMs + spec_.plugInAfterMs;
    return Event::kRemoved;
}

PlugSchedule::Event PlugSchedule::PlugInNow(std::int64_t) {
    if (present_ || number_ >= spec_.count) return Event::kNone;
    present_ = true;
    ++number_;
    return Event::kPluggedIn;
}

}  // namespace vk930
