#pragma once
// The host's side of a firmware upload, shared by every link that has a boot loader: find
// and read the boot file and the firmware file, then drive the boot loader step by step.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "core/firmware/boot_loader.h"
#include "core/link/link_ctrl.h"

namespace vk930 {

inline constexpr char kBootFileName[] = "boot.a20";
// Image bytes per WriteBlock; blocks start on multiples of it where the image allows.
inline constexpr std::size_t kUploadBlockSize = 256;

// Where the boot file is looked for: the working directory first, then the program's folder,
// then the folder an installed package keeps it in.
struct BootFileLookup {
    BootFileLookup(std::string program = {}, std::string system = {})
        : programDir(std::move(program)), systemDir(std::move(system)) {}

    std::string programDir;  // empty: not looked at
    std::string systemDir;   // empty: not looked at
};

// The first boot file found, or nullopt when no place has one.
std::optional<std::filesystem::path> FindBootFile(const BootFileLookup& lookup);

// The version a firmware file carries in its name: the digits right after "hsbt" (in any
// case) in the file name, "hsbt15.a20" gives "15"; empty when there are none.
std::string FirmwareVersionFromPath(const std::string& path);

// Uploads the firmware file through the boot loader and returns its UploadStatus:
// 1 boot file missing or not valid Intel HEX, 2 the same for the firmware file, 3 the boot
// loader never sent 0x00, 4 no 0xAA to the sync, 5 boot file not taken, 6 erase failed,
// 7 an image block not taken, 8 verification failed, 10 uploaded. Nothing is sent before
// both files have been read. `progress` (may be empty) hears the image bytes sent so far.
// `problem` (may be null) receives why a file was refused (statuses 1 and 2), else empty.
Short RunUpload(BootLoaderChannel& channel, const std::string& firmwarePath,
                const BootFileLookup& bootFiles, const UploadProgress& progress,
                std::string* problem = nullptr);

}  // namespace vk930
