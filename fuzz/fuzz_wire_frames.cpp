// The wire protocol's frame reader on any bytes, on both sides of the line:
// - the simulator's side: the bytes arrive as requests at a simulated terminal, which must
//   answer only with well-formed frames and never write outside its pages;
// - the link's side: the bytes arrive as the terminal's answers to a series of operations,
//   which must end (a virtual clock, bounded waits) with results among their documented values.
// The first byte picks the side and how the bytes are cut into reads.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <memory>

#include "core/terminal/terminal_model.h"
#include "core/terminal/wire_terminal.h"
#include "core/wire/serial_link.h"
#include "core/wire/wire_frame.h"

namespace {

void Require(bool holds) {
    if (!holds) std::abort();
}

// A port whose every read returns the next piece of the fuzzer's bytes, on a virtual clock.
class ScriptedPort : public vk930::SerialPort {
  public:
    ScriptedPort(const std::uint8_t* data, std::size_t size, std::size_t chunk)
        : data_(data, data + size), chunk_(chunk) {}
    std::string Name() const override { return "fuzz"; }
    vk930::Status Open(int) override {
        open_ = true;
        return {};
    }
    vk930::Status SetBaud(int) override { return {}; }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    vk930::Status Write(std::span<const std::uint8_t>) override { return {}; }
    vk930::Result<vk930::Bytes> Read(vk930::Millis timeout) override {
        const std::size_t n = std::min(chunk_, data_.size());
        if (n == 0) {
            now_ += timeout;
            return vk930::Bytes{};
        }
        now_ += vk930::Millis(1);
        vk930::Bytes bytes(data_.begin(), data_.begin() + static_cast<long>(n));
        data_.erase(data_.begin(), data_.begin() + static_cast<long>(n));
        return bytes;
    }
    void DiscardInput() override {}
    vk930::Millis Now() override { return now_; }

  private:
    std::deque<std::uint8_t> data_;
    std::size_t chunk_;
    vk930::Millis now_{0};
    bool open_ = false;
};

void TerminalSide(const std::uint8_t* data, std::size_t size, std::size_t chunk) {
    auto model = vk930::TerminalModel::Create(vk930::TerminalSpec{});
    vk930::WireTerminal terminal(**model, vk930::WireFaults{});
    vk930::FrameReader answers;
    for (std::size_t at = 0; at < size; at += chunk) {
        const std::size_t n = std::min(chunk, size - at);
        vk930::WireOutput out = terminal.Receive({data + at, n});
        answers.Feed(out.bytes);
        while (answers.Next()) {
        }
        Require(answers.BadFrames() == 0 && !answers.Pending());  // only whole, good frames
    }
}

void LinkSide(const std::uint8_t* data, std::size_t size, std::size_t chunk) {
    vk930::SerialLink link(std::make_unique<ScriptedPort>(data, size, chunk));
    if (!link.Connect(1, 19200)) return;
    const vk930::Short info = link.ReadInfo();
    Require(info == 0 || info == 1);
    link.GetDeviceType();
    link.GetVersionText();
    link.ReadPage0(0, 255);
    link.ReadPage1(0, 255);
    for (vk930::Short offset : {0, 17, 255}) {
        const vk930::Short value = link.GetByte(0, offset);
        Require(value >= 0 && value <= 255);
    }
    Require(link.GetText(250, 1, 20).size() <= 6);
    link.GetCommIdText();
    const vk930::Short written = link.WriteByte(5, 30, 0);
    Require(written == 1 || written == -1);
    link.WriteText(0, 1, "VK930 HAND TERMINAL ");
    link.ResetDevice();
    link.Connect(1, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t chunk = 1 + (data[0] >> 1) % 64;
    if (data[0] & 1)
        LinkSide(data + 1, size - 1, chunk);
    else
        TerminalSide(data + 1, size - 1, chunk);
    return 0;
}
