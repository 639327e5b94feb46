#pragma once
// The simulated terminal's boot loader: the terminal's side of the boot-loader steps. It
// answers only while the terminal sits in its boot loader (the port was opened at 4800 and
// the terminal is there), takes the steps only in their order, fails at the step that the
// link spec's boot= option names, and installs the image in the terminal once it verifies.
#include "core/firmware/boot_loader.h"
#include "core/terminal/terminal_model.h"

namespace vk930 {

class SimBootLoader : public BootLoaderChannel {
  public:
    // `listening`: the terminal is in its boot loader and sends its 0x00.
    SimBootLoader(TerminalModel& terminal, bool listening)
        : terminal_(terminal), listening_(listening) {}

    bool AwaitReady() override;
    bool Sync() override;
    bool SendBootFile(const FirmwareImage& boot) override;
    bool Erase() override;
    bool WriteBlock(std::uint32_t address, const std::vector<std::uint8_t>& bytes) override;
    bool Verify(const FirmwareImage& image, const std::string& version) override;

    // What has been written to the flash since the erase.
    const FirmwareImage& Flash() const { return flash_; }

  private:
    enum class Stage { kIdle, kReady, kSynced, kBooted, kErased };
    bool Advance(Stage from, Stage to, BootFault fault);

    TerminalModel& terminal_;
    bool listening_;
    Stage stage_ = Stage::kIdle;
    FirmwareImage flash_;
};

}  // namespace vk930
