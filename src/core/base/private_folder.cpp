// Private folders and files.
#include "core/base/private_folder.h"

#include <filesystem>

namespace vk930 {

namespace fs = std::filesystem;

Status MakePrivateFolder(const std::string& folder) {
    if (folder.empty()) return {};
    std::error_code ec;
    const fs::path path = fs::absolute(fs::path(folder), ec).lexically_normal();
    if (ec) return Error{"cannot create the folder '" + folder + "': " + ec.message()};
    fs::path done;
    for (const fs::path& part : path) {
        done /= part;
        if (part.empty() || done == done.root_path() || done == done.root_name()) continue;
        if (fs::create_directory(done, ec)) {
            // Created with the umask's permissions: narrowed before anything goes in.
            fs::permissions(done, fs::perms::owner_all, fs::perm_options::replace, ec);
            if (ec)
                return Error{"cannot make the folder '" + done.string() +
                             "' private: " + ec.message()};
            continue;
        }
        if (!ec && fs::is_directory(done, ec)) continue;
        // Named as asked for; the part in the way said, when it is not the folder itself.
        std::string why = fs::exists(done) && !fs::is_directory(done)
                              ? "'" + done.string() + "' is a file, not a folder"
                              : ec.message();
        return Error{"cannot create the folder '" + folder + "': " + why};
    }
    return {};
}

Status MakePrivateFile(const std::string& path) {
    std::error_code ec;
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace,
                    ec);
    if (ec) return Error{"cannot make '" + path + "' private: " + ec.message()};
    return {};
}

}  // namespace vk930
