// The serial link's device on Windows.
#include "platform/win32/win32_serial_port.h"

#include <chrono>
#include <optional>

#include "platform/win32/com_port_errors.h"

namespace vk930 {

namespace {

// How long a write may take beyond its line time before the device counts as failed.
constexpr Millis kWriteSlack{500};
// The driver's queues; the longest frame is far below either.
constexpr DWORD kQueueBytes = 4096;

DWORD TimeoutMillis(Millis timeout) {
    // 0 would mean "wait for ever" for a total time-out; the caller asked for no wait, which
    // one millisecond is close enough to.
    return timeout.count() <= 0 ? 1 : static_cast<DWORD>(timeout.count());
}

}  // namespace

Status Win32SerialPort::Open(int baud) {
    Close();
    HANDLE handle = CreateFileA(ComDevicePath(device_).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return Error{ExplainComOpenError(device_, GetLastError())};
    handle_ = handle;
    timeoutsSet_ = false;
    SetupComm(handle_, kQueueBytes, kQueueBytes);  // a hint only; the defaults serve as well
    if (Status configured = Configure(baud); !configured) {
        Close();
        return configured;
    }
    PurgeComm(handle_, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
    return {};
}

Status Win32SerialPort::Configure(int baud) {
    const std::string what = "set " + std::to_string(baud) + " baud 8N1";
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle_, &dcb)) return IoFailure(what, GetLastError());
    dcb.BaudRate = static_cast<DWORD>(baud);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    // No flow control of either kind: the terminal's cable carries only data lines.
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    // DTR and RTS stay as the driver has them: pseudo-terminals behind Wine refuse changes.
    if (!SetCommState(handle_, &dcb)) return IoFailure(what, GetLastError());
    baud_ = baud;
    return {};
}

Status Win32SerialPort::SetBaud(int baud) {
    if (!IsOpen()) return Error{ComPortLabel(device_) + " is not open"};
    return Configure(baud);
}

void Win32SerialPort::Close() {
    if (handle_ == INVALID_HANDLE_VALUE) return;
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    baud_ = 0;
}

bool Win32SerialPort::UseTimeouts(const COMMTIMEOUTS& timeouts) {
    const bool same =
        timeoutsSet_ && timeouts.ReadIntervalTimeout == timeouts_.ReadIntervalTimeout &&
        timeouts.ReadTotalTimeoutMultiplier == timeouts_.ReadTotalTimeoutMultiplier &&
        timeouts.ReadTotalTimeoutConstant == timeouts_.ReadTotalTimeoutConstant &&
        timeouts.WriteTotalTimeoutMultiplier == timeouts_.WriteTotalTimeoutMultiplier &&
        timeouts.WriteTotalTimeoutConstant == timeouts_.WriteTotalTimeoutConstant;
    if (same) return true;
    COMMTIMEOUTS copy = timeouts;
    if (!SetCommTimeouts(handle_, &copy)) return false;
    timeouts_ = timeouts;
    timeoutsSet_ = true;
    return true;
}

Error Win32SerialPort::IoFailure(const std::string& operation, DWORD error) const {
    return Error{ExplainComIoError(device_, operation, error)};
}

Status Win32SerialPort::Write(std::span<const std::uint8_t> bytes) {
    if (!IsOpen()) return Error{ComPortLabel(device_) + " is not open"};
    if (bytes.empty()) return {};
    COMMTIMEOUTS timeouts = timeouts_;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant =
        static_cast<DWORD>((LineTime(bytes.size(), baud_) + kWriteSlack).count());
    if (!UseTimeouts(timeouts)) return IoFailure("write", GetLastError());
    DWORD written = 0;
    if (!WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return IoFailure("write", GetLastError());
    if (written != bytes.size())
        return Error{ComPortLabel(device_) + " took " + std::to_string(written) + " of " +
                     std::to_string(bytes.size()) + " bytes: the line is blocked"};
    return {};
}

std::optional<DWORD> Win32SerialPort::Queued() {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(handle_, &errors, &status)) return std::nullopt;
    return status.cbInQue;
}

Result<Bytes> Win32SerialPort::Read(Millis timeout) {
    if (!IsOpen()) return Error{ComPortLabel(device_) + " is not open"};
    Bytes received;
    std::optional<DWORD> queued = Queued();
    if (!queued || *queued == 0) {
        // Wait for the first byte alone: a read of one byte with a total time-out ends with
        // that byte, on Windows and under Wine alike.
        COMMTIMEOUTS timeouts = timeouts_;
        timeouts.ReadIntervalTimeout = 0;
        timeouts.ReadTotalTimeoutMultiplier = 0;
        timeouts.ReadTotalTimeoutConstant = TimeoutMillis(timeout);
        if (!UseTimeouts(timeouts)) return IoFailure("read", GetLastError());
        std::uint8_t first = 0;
        DWORD got = 0;
        if (!ReadFile(handle_, &first, 1, &got, nullptr)) return IoFailure("read", GetLastError());
        if (got == 0) return received;
        received.push_back(first);
        queued = Queued();
        if (!queued || *queued == 0) return received;
    }
    // What is queued already comes at once: these time-outs return without waiting.
    COMMTIMEOUTS timeouts = timeouts_;
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    if (!UseTimeouts(timeouts)) return IoFailure("read", GetLastError());
    const std::size_t start = received.size();
    received.resize(start + *queued);
    DWORD got = 0;
    if (!ReadFile(handle_, received.data() + start, *queued, &got, nullptr))
        return IoFailure("read", GetLastError());
    received.resize(start + got);
    return received;
}

void Win32SerialPort::DiscardInput() {
    if (IsOpen()) PurgeComm(handle_, PURGE_RXCLEAR);
}

Millis Win32SerialPort::Now() {
    return std::chrono::duration_cast<Millis>(std::chrono::steady_clock::now().time_since_epoch());
}

int Win32SerialPort::DeviceBaud() const {
    if (!IsOpen()) return 0;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    return GetCommState(handle_, &dcb) ? static_cast<int>(dcb.BaudRate) : 0;
}

}  // namespace vk930
