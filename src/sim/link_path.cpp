// Judging and making the simulator's device link.
#include "sim/link_path.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>

namespace vk930 {

namespace {

// Unix98 pseudo-terminal slaves: majors 136 to 143.
constexpr unsigned kPtySlaveMajorFirst = 136;
constexpr unsigned kPtySlaveMajorLast = 143;

}  // namespace

bool IsLivePseudoTerminal(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISCHR(info.st_mode)) return false;
    const unsigned deviceMajor = major(info.st_rdev);
    return deviceMajor >= kPtySlaveMajorFirst && deviceMajor <= kPtySlaveMajorLast;
}

LinkInspection InspectLinkPath(const std::string& linkPath) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(linkPath, ec);
    if (!fs::exists(status)) return {};
    if (!fs::is_symlink(status)) return {LinkPlace::kTaken, {}};
    const fs::path target = fs::read_symlink(linkPath, ec);
    if (ec) return {LinkPlace::kTaken, {}};
    // A relative target is relative to the link's folder, as the system resolves it.
    const fs::path resolved =
        target.is_absolute() ? target : fs::path(linkPath).parent_path() / target;
    return {IsLivePseudoTerminal(resolved.string()) ? LinkPlace::kTaken : LinkPlace::kStale,
            target.string()};
}

Status CheckLinkPlace(const std::string& linkPath, const LinkInspection& inspection) {
    if (inspection.place != LinkPlace::kTaken) return {};
    if (inspection.target.empty()) return Error{"'" + linkPath + "' already exists"};
    return Error{"'" + linkPath + "' already exists: a link to the live pseudo-terminal '" +
                 inspection.target + "' (stop what serves it, or choose another PATH)"};
}

Status MakeDeviceLink(const std::string& target, const std::string& linkPath,
                      const LinkInspection& inspection) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // Removed only while it is still the link that was judged: never a file put there since.
    if (inspection.place == LinkPlace::kStale && fs::is_symlink(fs::symlink_status(linkPath, ec)) &&
        fs::read_symlink(linkPath, ec).string() == inspection.target)
        fs::remove(linkPath, ec);
    fs::create_symlink(target, linkPath, ec);
    if (ec) return Error{"cannot create link '" + linkPath + "': " + ec.message()};
    return {};
}

}  // namespace vk930
