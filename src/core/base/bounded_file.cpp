// Whole-file reads with a check of the file's kind first and a bound on the bytes.
#include "core/base/bounded_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace vk930 {

namespace {

std::string SizeText(std::uintmax_t bytes) {
    if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
    return std::to_string(bytes) + " bytes";
}

}  // namespace

BoundedFile ReadBoundedFile(const std::string& path, std::uintmax_t maxBytes) {
    namespace fs = std::filesystem;
    BoundedFile read;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!ec && !fs::exists(status)) {
        read.problem = FileReadProblem::kMissing;
        return read;
    }
    if (ec) {  // a folder on the way that may not be searched, a name too long, ...
        read.problem = ec == std::errc::no_such_file_or_directory ? FileReadProblem::kMissing
                                                                  : FileReadProblem::kCannotOpen;
        read.systemError = ec.value();
        return read;
    }
    // Before the file is opened: opening a pipe waits for a writer, and a device never ends.
    if (!fs::is_regular_file(status)) {
        read.problem = FileReadProblem::kNotRegular;
        return read;
    }
    if (fs::file_size(path, ec) > maxBytes && !ec) {
        read.problem = FileReadProblem::kTooLarge;
        return read;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        read.problem = FileReadProblem::kCannotOpen;
        read.systemError = errno;
        return read;
    }
    // The bound holds even when the file was replaced by a device since it was looked at.
    constexpr std::size_t kChunk = 64u << 10;
    char chunk[kChunk];
    while (in) {
        in.read(chunk, kChunk);
        read.bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (read.bytes.size() > maxBytes) {
            read.bytes.clear();
            read.problem = FileReadProblem::kTooLarge;
            return read;
        }
    }
    if (in.bad()) {
        read.bytes.clear();
        read.problem = FileReadProblem::kCannotRead;
    }
    return read;
}

std::string Describe(const BoundedFile& read, std::uintmax_t maxBytes) {
    switch (read.problem) {
        case FileReadProblem::kNone:
            return {};
        case FileReadProblem::kMissing:
            return "no such file";
        case FileReadProblem::kNotRegular:
            return "not a regular file";
        case FileReadProblem::kTooLarge:
            return "larger than " + SizeText(maxBytes);
        case FileReadProblem::kCannotOpen:
            return read.systemError != 0 ? std::strerror(read.systemError) : "cannot be opened";
        case FileReadProblem::kCannotRead:
            return "cannot be read";
    }
    return {};
}

}  // namespace vk930
