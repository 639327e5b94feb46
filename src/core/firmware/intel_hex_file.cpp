#include "core/firmware/intel_hex_file.h"

#include "core/base/bounded_file.h"
#include "core/firmware/intel_hex.h"

namespace vk930 {

Result<FirmwareImage> ReadIntelHexFile(const std::string& path) {
    if (path.empty()) return Error{"no file name given"};
    const BoundedFile read = ReadBoundedFile(path, kMaxHexTextSize);
    if (read.problem == FileReadProblem::kTooLarge)
        return Error{path + ": larger than 64 MiB: not a firmware file"};
    if (read.problem != FileReadProblem::kNone)
        return Error{path + ": " + Describe(read, kMaxHexTextSize)};
    Result<FirmwareImage> image = ParseIntelHex(read.bytes);
    if (!image) return Error{path + ": " + image.error()};
    return image;
}

}  // namespace vk930
