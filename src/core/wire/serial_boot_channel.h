#pragma once
// The boot loader reached over the wire at 4800 baud (docs/protocol.md): the host's side of
// each boot-loader step, for the shared upload procedure (RunUpload).
#include "core/firmware/boot_loader.h"
#include "core/wire/boot_wire.h"
#include "core/wire/serial_port.h"
#include "core/wire/wire_client.h"

namespace vk930 {

class SerialBootChannel : public BootLoaderChannel {
  public:
    // `listening`: the port is open at 4800, where the boot loader can answer.
    SerialBootChannel(SerialPort& port, WireClient& client, bool listening, boot::Timings timings)
        : port_(port), client_(client), listening_(listening), timings_(timings) {}

    bool AwaitReady() override;
    bool Sync() override;
    bool SendBootFile(const FirmwareImage& boot) override;
    bool Erase() override;
    bool WriteBlock(std::uint32_t address, const std::vector<std::uint8_t>& bytes) override;
    bool Verify(const FirmwareImage& image, const std::string& version) override;

  private:
    // Reads until `wanted` comes (other bytes are skipped) or the time runs out.
    bool AwaitByte(std::uint8_t wanted, Millis timeout);
    bool Block(std::uint8_t command, std::uint32_t address, std::span<const std::uint8_t> bytes);
    bool Done(std::uint8_t command, const Bytes& payload, Millis extra = Millis(0));

    SerialPort& port_;
    WireClient& client_;
    bool listening_;
    boot::Timings timings_;
};

}  // namespace vk930
