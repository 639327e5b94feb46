#include "core/firmware/intel_hex_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/firmware/intel_hex.h"

namespace vk930 {

namespace {

Result<std::string> ReadSmallFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) return Error{"no such file"};
    if (!fs::is_regular_file(status)) return Error{"not a regular file"};
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) return Error{"cannot read: " + ec.message()};
    // Checked before reading, so that a huge file never fills the memory.
    if (size > kMaxHexTextSize) return Error{"larger than 64 MiB: not a firmware file"};
    std::ifstream in(path, std::ios::binary);
    if (!in) return Error{"cannot open"};
    std::string text(std::istreambuf_iterator<char>(in), {});
    if (in.bad()) return Error{"cannot read"};
    return text;
}

}  // namespace

Result<FirmwareImage> ReadIntelHexFile(const std::string& path) {
    if (path.empty()) return Error{"no file name given"};
    Result<std::string> text = ReadSmallFile(path);
    if (!text) return Error{path + ": " + text.error()};
    Result<FirmwareImage> image = ParseIntelHex(*text);
    if (!image) return Error{path + ": " + image.error()};
    return image;
}

}  // namespace vk930
