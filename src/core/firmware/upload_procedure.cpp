#include "core/firmware/upload_procedure.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "core/firmware/intel_hex_file.h"

namespace vk930 {

namespace fs = std::filesystem;

namespace {

bool IsFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// Sends the image block by block; false when the boot loader refuses a block.
bool WriteImage(BootLoaderChannel& channel, const FirmwareImage& image,
                const UploadProgress& progress) {
    const std::size_t total = image.ByteCount();
    std::size_t sent = 0;
    if (progress) progress(sent, total);
    for (const ImageSegment& segment : image.segments) {
        for (std::size_t i = 0; i < segment.bytes.size();) {
            const std::uint32_t address = segment.address + static_cast<std::uint32_t>(i);
            const std::size_t n =
                std::min(kUploadBlockSize - address % kUploadBlockSize, segment.bytes.size() - i);
            const auto first = segment.bytes.begin() + static_cast<std::ptrdiff_t>(i);
            if (!channel.WriteBlock(address, {first, first + static_cast<std::ptrdiff_t>(n)}))
                return false;
            i += n;
            sent += n;
            if (progress) progress(sent, total);
        }
    }
    return true;
}

}  // namespace

std::optional<fs::path> FindBootFile(const BootFileLookup& lookup) {
    std::error_code ec;
    const fs::path here = fs::current_path(ec) / kBootFileName;
    if (!ec && IsFile(here)) return here;
    for (const std::string& dir : {lookup.programDir, lookup.systemDir}) {
        if (dir.empty()) continue;
        const fs::path there = fs::path(dir) / kBootFileName;
        if (IsFile(there)) return there;
    }
    return std::nullopt;
}

std::string FirmwareVersionFromPath(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    constexpr std::size_t kPrefix = 4;  // "hsbt"
    for (auto at = lower.find("hsbt"); at != std::string::npos; at = lower.find("hsbt", at + 1)) {
        std::size_t end = at + kPrefix;
        while (end < name.size() && std::isdigit(static_cast<unsigned char>(name[end]))) ++end;
        if (end > at + kPrefix) return name.substr(at + kPrefix, end - at - kPrefix);
    }
    return {};
}

Short RunUpload(BootLoaderChannel& channel, const std::string& firmwarePath,
                const BootFileLookup& bootFiles, const UploadProgress& progress,
                std::string* problem) {
    const auto refuse = [problem](Short status, const std::string& why) {
        if (problem) *problem = why;
        return status;
    };
    if (problem) problem->clear();
    const std::optional<fs::path> bootPath = FindBootFile(bootFiles);
    if (!bootPath) return refuse(kUploadBootFileBad, std::string("no ") + kBootFileName + " found");
    const Result<FirmwareImage> boot = ReadIntelHexFile(bootPath->string());
    if (!boot) return refuse(kUploadBootFileBad, boot.error());
    const Result<FirmwareImage> image = ReadIntelHexFile(firmwarePath);
    if (!image) return refuse(kUploadFirmwareFileBad, image.error());
    if (!channel.AwaitReady()) return kUploadNoZero;
    if (!channel.Sync()) return kUploadNoAA;
    if (!channel.SendBootFile(boot.value())) return kUploadStage1Failed;
    if (!channel.Erase()) return kUploadStage2Failed;
    if (!WriteImage(channel, image.value(), progress)) return kUploadStage3Failed;
    if (!channel.Verify(image.value(), FirmwareVersionFromPath(firmwarePath)))
        return kUploadVerifyFailed;
    return kUploadSucceeded;
}

}  // namespace vk930
