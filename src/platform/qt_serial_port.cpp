#include "platform/qt_serial_port.h"

#include <chrono>

#include "platform/port_diagnosis.h"

namespace vk930 {

Error QtSerialPort::Failure(const std::string& what) {
    const std::string why = port_.errorString().toStdString();
    port_.clearError();
    return Error{what + ": " + why};
}

Status QtSerialPort::Open(int baud) {
    port_.setPortName(QString::fromStdString(device_));
    if (!port_.open(QIODevice::ReadWrite)) {
        // Qt's words ("Permission error while locking the device") do not say what to do.
        Error error{ExplainOpenFailure(device_, port_.errorString().toStdString())};
        port_.clearError();
        return error;
    }
    const bool configured = port_.setBaudRate(baud) && port_.setDataBits(QSerialPort::Data8) &&
                            port_.setParity(QSerialPort::NoParity) &&
                            port_.setStopBits(QSerialPort::OneStop) &&
                            port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        Error error = Failure("cannot set " + std::to_string(baud) + " baud 8N1");
        port_.close();
        return error;
    }
    baud_ = baud;
    port_.clear(QSerialPort::AllDirections);
    return {};
}

Status QtSerialPort::SetBaud(int baud) {
    if (!port_.setBaudRate(baud)) return Failure("cannot set " + std::to_string(baud) + " baud");
    baud_ = baud;
    return {};
}

void QtSerialPort::Close() {
    if (port_.isOpen()) port_.close();
    port_.clearError();
}

Status QtSerialPort::Write(std::span<const std::uint8_t> bytes) {
    const auto size = static_cast<qint64>(bytes.size());
    if (port_.write(reinterpret_cast<const char*>(bytes.data()), size) != size)
        return Failure("write failed");
    const int budget = static_cast<int>((LineTime(bytes.size(), baud_) + kWriteSlack).count());
    while (port_.bytesToWrite() > 0) {
        if (!port_.waitForBytesWritten(budget)) return Failure("write failed");
    }
    return {};
}

Result<Bytes> QtSerialPort::Read(Millis timeout) {
    if (port_.bytesAvailable() == 0 && !port_.waitForReadyRead(static_cast<int>(timeout.count()))) {
        if (port_.error() != QSerialPort::TimeoutError && port_.error() != QSerialPort::NoError)
            return Failure("read failed");
        port_.clearError();
        return Bytes{};
    }
    const QByteArray data = port_.readAll();
    return Bytes(data.begin(), data.end());
}

void QtSerialPort::DiscardInput() {
    port_.readAll();
    port_.clear(QSerialPort::Input);
}

Millis QtSerialPort::Now() {
    return std::chrono::duration_cast<Millis>(std::chrono::steady_clock::now().time_since_epoch());
}

}  // namespace vk930
