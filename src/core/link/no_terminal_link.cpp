#include "core/link/no_terminal_link.h"

namespace vk930 {

namespace {

// A boot loader that never sends its 0x00.
class SilentBootLoader : public BootLoaderChannel {
  public:
    bool AwaitReady() override { return false; }
    bool Sync() override { return false; }
    bool SendBootFile(const FirmwareImage&) override { return false; }
    bool Erase() override { return false; }
    bool WriteBlock(std::uint32_t, const std::vector<std::uint8_t>&) override { return false; }
    bool Verify(const FirmwareImage&, const std::string&) override { return false; }
};

}  // namespace

Short NoTerminalLink::UploadFirmware(const std::string& path) {
    SilentBootLoader silence;
    return RunUpload(silence, path, bootFiles_, progress_);
}

}  // namespace vk930
