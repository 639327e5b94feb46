#pragma once
// A serial port that counts the bytes it moves, around another one.
#include <memory>

#include "core/wire/serial_port.h"

namespace vk930::bench {

class CountingPort : public SerialPort {
  public:
    CountingPort(std::unique_ptr<SerialPort> inner, std::size_t& moved)
        : inner_(std::move(inner)), moved_(moved) {}

    std::string Name() const override { return inner_->Name(); }
    Status Open(int baud) override { return inner_->Open(baud); }
    Status SetBaud(int baud) override { return inner_->SetBaud(baud); }
    void Close() override { inner_->Close(); }
    bool IsOpen() const override { return inner_->IsOpen(); }
    Status Write(std::span<const std::uint8_t> bytes) override {
        moved_ += bytes.size();
        return inner_->Write(bytes);
    }
    Result<Bytes> Read(Millis timeout) override {
        Result<Bytes> bytes = inner_->Read(timeout);
        if (bytes) moved_ += bytes->size();
        return bytes;
    }
    void DiscardInput() override { inner_->DiscardInput(); }
    Millis Now() override { return inner_->Now(); }

  private:
    std::unique_ptr<SerialPort> inner_;
    std::size_t& moved_;
};

}  // namespace vk930::bench
