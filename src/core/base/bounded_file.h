#pragma once
// Reading a whole file the user named (a parameter or firmware file): a regular file only,
// checked before the first byte is read, and never more than a bound, so that a device, a
// pipe or a file swapped for one meanwhile cannot keep a command reading.
#include <cstdint>
#include <string>

namespace vk930 {

enum class FileReadProblem {
    kNone,
    kMissing,     // no such file
    kNotRegular,  // a folder, a device, a pipe, a socket
    kTooLarge,    // more bytes than the bound
    kCannotOpen,  // `systemError` says why
    kCannotRead,
};

struct BoundedFile {
    FileReadProblem problem = FileReadProblem::kNone;
    int systemError = 0;  // errno of kCannotOpen, 0 when the system gave none
    std::string bytes;    // the whole file when `problem` is kNone
};

// Reads `path` whole when it is a regular file of at most `maxBytes` bytes.
BoundedFile ReadBoundedFile(const std::string& path, std::uintmax_t maxBytes);

// What went wrong, as a message names it ("not a regular file", ...); empty for kNone.
std::string Describe(const BoundedFile& read, std::uintmax_t maxBytes);

}  // namespace vk930
