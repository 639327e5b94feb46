#include "core/params/replacing_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include "core/base/disk_sync.h"
#include "core/base/pending_files.h"
#include "core/base/private_folder.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#elif __has_include(<unistd.h>)
#include <unistd.h>
#endif

namespace vk930 {

namespace fs = std::filesystem;

namespace {

constexpr int kNameAttempts = 100;

// The file the target stands for: a symbolic link is replaced at the file it points to.
fs::path RealTarget(const fs::path& target) {
    std::error_code ec;
    if (!fs::is_symlink(target, ec)) return target;
    const fs::path real = fs::weakly_canonical(target, ec);
    return ec ? target : real;
}

Status CheckTarget(const fs::path& target) {
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (!fs::exists(status)) return {};
    if (fs::is_directory(status)) return Error{"'" + target.string() + "' is a folder"};
    // A device or a pipe is never replaced by a file of ours.
    if (!fs::is_regular_file(status))
        return Error{"'" + target.string() + "' is not a regular file"};
    // Opening for update neither creates nor truncates: it only asks whether we may write.
    std::FILE* probe = std::fopen(target.string().c_str(), "r+b");
    if (!probe) return Error{"'" + target.string() + "': " + std::strerror(errno)};
    std::fclose(probe);
    return {};
}

// A new file that did not exist before, for writing; null with errno set (EEXIST: taken).
std::FILE* CreateNewFile(const fs::path& path) {
#ifdef _WIN32
    // The Windows C runtime knows no "x" mode.
    const int fd = _open(path.string().c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY,
                         _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE* file = _fdopen(fd, "wb");
    if (!file) _close(fd);
    return file;
#else
    // "x": never reuse a file that happens to exist under that name.
    return std::fopen(path.string().c_str(), "wbx");
#endif
}

// Moves the written file into the target's place, replacing what is there.
std::error_code MoveIntoPlace(const std::string& from, const std::string& to) {
#ifdef _WIN32
    // Write-through: the call returns once the move is on the disk, as the flush before it.
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    return std::error_code(static_cast<int>(GetLastError()), std::system_category());
#else
    std::error_code ec;
    fs::rename(from, to, ec);
    return ec;
#endif
}

}  // namespace

ReplacingFile::~ReplacingFile() {
    Discard();
}

Status ReplacingFile::Open(const std::string& target) {
    const fs::path real = RealTarget(target);
    if (Status s = CheckTarget(real); !s) return s;
    std::random_device random;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        fs::path candidate = real;
        candidate += ".vk930-" + std::to_string(random() % 1000000) + ".tmp";
        file_ = CreateNewFile(candidate);
        if (file_) {
            target_ = real.string();
            temporary_ = candidate.string();
            // Should the program be ended at once, its signal handler removes the file.
            pendingSlot_ = TemporaryFiles().Add(temporary_);
            return {};
        }
        // Named after the target: the temporary name means nothing to the user.
        if (errno != EEXIST) return Error{"'" + real.string() + "': " + std::strerror(errno)};
    }
    return Error{"no free temporary name next to '" + real.string() + "'"};
}

Status ReplacingFile::MakePrivate() {
    if (!file_) return Error{"no file open"};
    if (Status narrowed = MakePrivateFile(temporary_); !narrowed)
        return Error{"cannot make '" + target_ + "' private: " + narrowed.error()};
    private_ = true;
    return {};
}

bool ReplacingFile::Write(std::string_view bytes) {
    if (!file_ || failed_) return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        failed_ = true;
        writeErrno_ = errno;
    }
    return !failed_;
}

Status ReplacingFile::Commit() {
    if (!file_) return Error{"no file open"};
    errno = 0;
    bool written = !failed_ && std::fflush(file_) == 0 && SyncToDisk(file_);
    written = std::fclose(file_) == 0 && written;
    if (!failed_ && !written) writeErrno_ = errno;
    file_ = nullptr;
    if (!written) {
        Discard();
        const std::string why = writeErrno_ != 0 ? std::strerror(writeErrno_) : "write failed";
        return Error{"cannot write '" + target_ + "': " + why};
    }
    std::error_code ec;
    // The new file keeps the permissions of the one it replaces.
    const fs::file_status old = fs::status(target_, ec);
    if (!private_ && !ec && fs::exists(old)) fs::permissions(temporary_, old.permissions(), ec);
    ec = MoveIntoPlace(temporary_, target_);
    if (ec) {
        Discard();
        return Error{"cannot replace '" + target_ + "': " + ec.message()};
    }
    Unregister();
    temporary_.clear();
    return {};
}

void ReplacingFile::Discard() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (temporary_.empty()) return;
    std::error_code ec;
    fs::remove(temporary_, ec);
    Unregister();
    temporary_.clear();
}

void ReplacingFile::Unregister() {
    TemporaryFiles().Remove(pendingSlot_);
    pendingSlot_ = -1;
}

}  // namespace vk930
