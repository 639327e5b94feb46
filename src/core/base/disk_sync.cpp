// Flushing a file to the disk.
#include "core/base/disk_sync.h"

#ifdef _WIN32
#include <io.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#elif __has_include(<unistd.h>)
#include <unistd.h>
#define VK930_HAVE_FSYNC 1
#endif

namespace vk930 {

bool SyncToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
#ifdef _WIN32
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != 0;
#elif defined(VK930_HAVE_FSYNC)
    return fsync(fileno(file)) == 0;
#else
    return true;
#endif
}

}  // namespace vk930
