// The simulated terminal's flash: the image and version an upload leaves, kept beside the
// state file so that the next process still sees them.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/firmware/intel_hex.h"
#include "core/firmware/intel_hex_file.h"
#include "core/terminal/terminal_model.h"

namespace vk930 {

namespace fs = std::filesystem;

namespace {

// Writes the whole text or nothing: a half-written file would be worse than the old one, and
// the temporary file never stays behind (a full disk used to leave an empty one).
bool ReplaceFile(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".new";
    bool written = false;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        written = static_cast<bool>(out);
    }
    std::error_code ec;
    if (written) fs::rename(temporary, path, ec);
    if (!written || ec) fs::remove(temporary, ec);
    return written && !ec;
}

// The first line of a small text file, at most kMaxVersionFileLine characters of it.
std::string FirstLine(const std::string& path) {
    constexpr std::size_t kMaxVersionFileLine = 256;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    for (char c; line.size() < kMaxVersionFileLine && in.get(c) && c != '\n';) line += c;
    const auto end = line.find_last_not_of(" \t\r");
    return end == std::string::npos ? std::string() : line.substr(0, end + 1);
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

}  // namespace

std::string FirmwareFilePath(const std::string& stateFile) {
    return stateFile + ".fw";
}

std::string VersionFilePath(const std::string& stateFile) {
    return stateFile + ".version";
}

Status TerminalModel::LoadFirmware() {
    if (spec_.stateFile.empty()) return {};
    const std::string imagePath = FirmwareFilePath(spec_.stateFile);
    if (Exists(imagePath)) {
        Result<FirmwareImage> image = ReadIntelHexFile(imagePath);
        if (!image) return Error{"terminal firmware " + image.error()};
        firmware_ = std::move(image.value());
    }
    const std::string versionPath = VersionFilePath(spec_.stateFile);
    if (Exists(versionPath)) {
        if (std::string version = FirstLine(versionPath); !version.empty()) version_ = version;
    }
    return {};
}

Status TerminalModel::InstallFirmware(const FirmwareImage& image, const std::string& version) {
    const std::string newVersion = version.empty() ? version_ : version;
    if (!spec_.stateFile.empty()) {
        const std::string imagePath = FirmwareFilePath(spec_.stateFile);
        if (!ReplaceFile(imagePath, WriteIntelHex(image)))
            return Error{"cannot write '" + imagePath + "'"};
        const std::string versionPath = VersionFilePath(spec_.stateFile);
        if (!ReplaceFile(versionPath, newVersion + "\n"))
            return Error{"cannot write '" + versionPath + "'"};
    }
    firmware_ = image;
    version_ = newVersion;
    return {};
}

}  // namespace vk930
