#include "core/terminal/sim_boot_loader.h"

#include "core/firmware/intel_hex.h"

namespace vk930 {

bool SimBootLoader::Advance(Stage from, Stage to, BootFault fault) {
    if (stage_ != from || terminal_.Spec().faults.boot == fault) return false;
    stage_ = to;
    return true;
}

bool SimBootLoader::AwaitReady() {
    return listening_ && Advance(Stage::kIdle, Stage::kReady, BootFault::kNo00);
}

bool SimBootLoader::Sync() {
    return Advance(Stage::kReady, Stage::kSynced, BootFault::kNoAA);
}

bool SimBootLoader::SendBootFile(const FirmwareImage& boot) {
    // The boot loader needs a boot program to run.
    return boot.ByteCount() > 0 && Advance(Stage::kSynced, Stage::kBooted, BootFault::kStage1);
}

bool SimBootLoader::Erase() {
    if (!Advance(Stage::kBooted, Stage::kErased, BootFault::kStage2)) return false;
    flash_ = {};
    return true;
}

bool SimBootLoader::WriteBlock(std::uint32_t address, const std::vector<std::uint8_t>& bytes) {
    if (stage_ != Stage::kErased || terminal_.Spec().faults.boot == BootFault::kStage3)
        return false;
    if (bytes.empty() || address + std::uint64_t{bytes.size()} > kMaxImageAddress) return false;
    auto& segments = flash_.segments;
    const bool follows =
        !segments.empty() && segments.back().address + segments.back().bytes.size() == address;
    if (follows)
        segments.back().bytes.insert(segments.back().bytes.end(), bytes.begin(), bytes.end());
    else
        segments.push_back({address, bytes});
    return true;
}

bool SimBootLoader::Verify(const FirmwareImage& image, const std::string& version) {
    if (stage_ != Stage::kErased || terminal_.Spec().faults.boot == BootFault::kVerify)
        return false;
    if (flash_ != image) return false;
    stage_ = Stage::kIdle;
    return terminal_.InstallFirmware(image, version).ok();
}

}  // namespace vk930
