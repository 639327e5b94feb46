#include "sim/line_pacer.h"

#include <algorithm>
#include <thread>

namespace vk930 {

LinePacer::Clock::duration LinePacer::ByteTime(std::size_t count, int baud) {
    if (baud <= 0) return {};
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::microseconds(static_cast<long long>(count) * 10'000'000 / baud));
}

void LinePacer::Take(std::size_t count, int baud) {
    if (!enabled_) return;
    lineFree_ = std::max(lineFree_, Clock::now()) + ByteTime(count, baud);
    std::this_thread::sleep_until(lineFree_);
}

bool LinePacer::Send(const std::uint8_t* bytes, std::size_t count, int baud, const Writer& write) {
    if (!enabled_) return write(bytes, count);
    lineFree_ = std::max(lineFree_, Clock::now());
    for (std::size_t at = 0; at < count; at += kPaceChunk) {
        const std::size_t piece = std::min(kPaceChunk, count - at);
        lineFree_ += ByteTime(piece, baud);
        std::this_thread::sleep_until(lineFree_);
        if (!write(bytes + at, piece)) return false;
    }
    return true;
}

}  // namespace vk930
