#include "support/loop_serial_port.h"

#include <algorithm>

namespace vk930::test {

Status LoopSerialPort::Open(int baud) {
    if (hungUp_) return Error{"No such file or directory"};
    open_ = true;
    baud_ = baud;
    ++opens_;
    inbox_.clear();
    return {};
}

Status LoopSerialPort::SetBaud(int baud) {
    baud_ = baud;
    return {};
}

Status LoopSerialPort::Write(std::span<const std::uint8_t> bytes) {
    if (!open_ || hungUp_) return Error{"write failed"};
    now_ += LineTime(bytes.size(), baud_);
    WireOutput out = terminal_->Receive(bytes);
    if (out.hangup) hungUp_ = true;
    inbox_.insert(inbox_.end(), out.bytes.begin(), out.bytes.end());
    return {};
}

Result<Bytes> LoopSerialPort::Read(Millis timeout) {
    if (!open_ || hungUp_) return Error{"read failed"};
    if (inbox_.empty()) {
        now_ += timeout;
        return Bytes{};
    }
    const std::size_t n = chunk_ == 0 ? inbox_.size() : std::min(chunk_, inbox_.size());
    Bytes out(inbox_.begin(), inbox_.begin() + static_cast<std::ptrdiff_t>(n));
    inbox_.erase(inbox_.begin(), inbox_.begin() + static_cast<std::ptrdiff_t>(n));
    now_ += LineTime(n, baud_);
    return out;
}

}  // namespace vk930::test
