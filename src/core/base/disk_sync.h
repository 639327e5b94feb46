#pragma once
// Flushing a file's written bytes to the disk, on POSIX and on Windows alike.
#include <cstdio>

namespace vk930 {

// Flushes the stream's buffer, then asks the system to put the file's bytes on the disk; false
// when either fails.
bool SyncToDisk(std::FILE* file);

}  // namespace vk930
