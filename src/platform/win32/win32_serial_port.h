#pragma once
// A COM port through the Win32 API: \\.\COMn opened with CreateFileA, 8N1 at the requested
// baud with no flow control (SetCommState), blocking reads bounded by COMMTIMEOUTS.
// Reads ask for one byte with a total time-out and then take whatever else has come: the
// "return at the first byte" time-outs (MAXDWORD, MAXDWORD, n) wait the whole n under Wine,
// where the tests run, and an overlapped read with them never completes there.
#include <windows.h>

#include <string>

#include "core/wire/serial_port.h"

namespace vk930 {

class Win32SerialPort : public SerialPort {
  public:
    // `device`: "COM3", "\\.\COM3" or any path CreateFileA opens as a serial device.
    explicit Win32SerialPort(std::string device) : device_(std::move(device)) {}
    ~Win32SerialPort() override { Close(); }
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    std::string Name() const override { return device_; }
    // Fails with "COM3 is in use by another program", "there is no COM3", or Windows' reason
    // when the device refuses 8N1 at `baud`.
    Status Open(int baud) override;
    Status SetBaud(int baud) override;
    void Close() override;
    bool IsOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }
    // Fails when not every byte left within the line time and a margin, or the device went
    // away (Windows error 21 and its kin).
    Status Write(std::span<const std::uint8_t> bytes) override;
    // Bytes that came within `timeout` (none: the time ran out, or the device is silent).
    Result<Bytes> Read(Millis timeout) override;
    void DiscardInput() override;
    Millis Now() override;

    // The baud the device is set to, as the driver reports it (0: not open or unreadable).
    int DeviceBaud() const;

  private:
    Status Configure(int baud);
    // Sets the time-outs unless they are set already (each change is a driver call).
    bool UseTimeouts(const COMMTIMEOUTS& timeouts);
    // Bytes waiting in the driver's input queue; nullopt when the device cannot say.
    std::optional<DWORD> Queued();
    Error IoFailure(const std::string& operation, DWORD error) const;

    std::string device_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    int baud_ = 0;
    COMMTIMEOUTS timeouts_{};
    bool timeoutsSet_ = false;
};

}  // namespace vk930
