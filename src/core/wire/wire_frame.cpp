#include "core/wire/wire_frame.h"

#include <cassert>

namespace vk930 {

std::uint16_t Crc16(std::span<const std::uint8_t> bytes) {
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t byte : bytes) {
        crc ^= static_cast<std::uint16_t>(byte << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? static_cast<std::uint16_t>((crc << 1) ^ 0x1021)
                                 : static_cast<std::uint16_t>(crc << 1);
    }
    return crc;
}

Bytes EncodeFrame(const Frame& frame) {
    assert(frame.payload.size() <= kMaxPayload);
    const std::size_t length = frame.payload.size();
    Bytes out;
    out.reserve(length + kFrameOverhead);
    out.push_back(kFrameStart);
    out.push_back(static_cast<std::uint8_t>(length & 0xFF));
    out.push_back(static_cast<std::uint8_t>(length >> 8));
    out.push_back(frame.seq);
    out.push_back(frame.command);
    out.insert(out.end(), frame.payload.begin(), frame.payload.end());
    const std::uint16_t crc = Crc16(std::span(out).subspan(1));
    out.push_back(static_cast<std::uint8_t>(crc >> 8));
    out.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return out;
}

void FrameReader::Feed(std::span<const std::uint8_t> bytes) {
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

void FrameReader::Reset() {
    buffer_.clear();
    badFrames_ = 0;
    skippedBytes_ = 0;
}

void FrameReader::Drop(std::size_t count) {
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(count));
}

FrameReader::Candidate FrameReader::Examine(std::size_t start, std::size_t& end) const {
    if (buffer_.size() - start < kFrameHeaderSize) return Candidate::kIncomplete;
    const std::size_t length = buffer_[start + 1] | (buffer_[start + 2] << 8);
    if (length > kMaxPayload) return Candidate::kNotAFrame;
    end = start + kFrameOverhead + length;
    if (buffer_.size() < end) return Candidate::kIncomplete;
    const std::uint16_t crc = Crc16(std::span(buffer_).subspan(start + 1, end - start - 3));
    const bool good = buffer_[end - 2] == (crc >> 8) && buffer_[end - 1] == (crc & 0xFF);
    return good ? Candidate::kGood : Candidate::kBadCrc;
}

Frame FrameReader::Take(std::size_t start, std::size_t end) {
    Frame frame;
    frame.seq = buffer_[start + 3];
    frame.command = buffer_[start + 4];
    frame.payload.assign(buffer_.begin() + static_cast<std::ptrdiff_t>(start + kFrameHeaderSize),
                         buffer_.begin() + static_cast<std::ptrdiff_t>(end - kFrameCrcSize));
    skippedBytes_ += start;
    Drop(end);
    return frame;
}

std::optional<Frame> FrameReader::Next() {
    // Bytes before `droppable` can never start a frame any more.
    std::size_t droppable = 0;
    bool waiting = false;  // an earlier start byte still waits for its frame's rest
    for (std::size_t i = 0; i < buffer_.size(); ++i) {
        if (buffer_[i] != kFrameStart) {
            if (!waiting) droppable = i + 1;
            continue;
        }
        std::size_t end = 0;
        const Candidate candidate = Examine(i, end);
        if (candidate == Candidate::kGood) return Take(i, end);
        if (candidate == Candidate::kIncomplete) waiting = true;
        if (waiting) continue;
        if (candidate == Candidate::kBadCrc) ++badFrames_;
        droppable = i + 1;
    }
    skippedBytes_ += droppable;
    Drop(droppable);
    return std::nullopt;
}

}  // namespace vk930
