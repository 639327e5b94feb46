#pragma once
// A real serial device through Qt Serial Port, used blocking (waitForReadyRead and
// waitForBytesWritten: no event loop needed), so the same code runs on Linux and Windows.
// Modem lines are left alone: pseudo-terminals refuse them, and the protocol needs none.
#include <QSerialPort>
#include <string>

#include "core/wire/serial_port.h"

namespace vk930 {

// How long a write may take beyond its line time before the device counts as failed.
inline constexpr Millis kWriteSlack{500};

class QtSerialPort : public SerialPort {
  public:
    explicit QtSerialPort(std::string device) : device_(std::move(device)) {}

    std::string Name() const override { return device_; }
    Status Open(int baud) override;
    Status SetBaud(int baud) override;
    void Close() override;
    bool IsOpen() const override { return port_.isOpen(); }
    Status Write(std::span<const std::uint8_t> bytes) override;
    Result<Bytes> Read(Millis timeout) override;
    void DiscardInput() override;
    Millis Now() override;

  private:
    Error Failure(const std::string& what);

    std::string device_;
    QSerialPort port_;
    int baud_ = 0;
};

}  // namespace vk930
