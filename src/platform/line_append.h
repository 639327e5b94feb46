#pragma once
// Appending one JSON line to a log that any number of processes append to.
#include <QByteArray>
#include <string>

#include "core/base/result.h"

namespace vk930 {

// "'path': " and the text of the last system call's errno.
std::string FileErrorText(const std::string& path);

// Appends `line` and LF in one write to `fd` (opened O_RDWR | O_APPEND, its exclusive lock
// held).
// When the file ends inside a line (a crash or a full disk in mid-write), a line end goes
// first, so the record starts a line of its own instead of being glued to the torn one. An
// error names `path`.
Status AppendWholeLine(int fd, const QByteArray& line, const std::string& path);

}  // namespace vk930
