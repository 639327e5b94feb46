#pragma once
// Backups of the terminal's pages before a Set: the Get's raw form, named after the time, the
// COM port and the terminal's CommID, written complete or not at all.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "core/base/result.h"
#include "core/params/page_source.h"

namespace vk930 {

// <YYYYMMDD-HHMMSS>-COM<n>-id<CommID>.pcg, in local time. `sequence` above 1 is added as
// "-<sequence>" before the extension, for a second backup in the same second.
std::string BackupFileName(std::chrono::system_clock::time_point time, int port, int commId,
                           int sequence = 1);

struct BackupName {
    std::string stamp;  // YYYYMMDD-HHMMSS
    int port = 0;
    int commId = 0;
};
// A backup's time stamp "20261207-153151" as "2026-12-07<between>15:31:51".
std::string StampTime(const std::string& stamp, char between);
// Reads a backup's file name (no folder); nullopt for any other name.
std::optional<BackupName> ParseBackupName(const std::string& fileName);

// The CommID in page 0 of the pages as fetched.
int CommIdOfPages(PageSource& pages);

// Writes the pages in the raw form into `folder` (created when missing) and returns the
// file's path. Fails with the reason when the folder or the file cannot be written; nothing
// is left behind then.
Result<std::string> WriteBackup(const std::string& folder, PageSource& pages, int port,
                                std::chrono::system_clock::time_point time);

struct BackupEntry {
    std::string path;
    BackupName name;
};
// The backups in `folder`, oldest first; files with other names are not backups.
std::vector<BackupEntry> ListBackups(const std::string& folder);

}  // namespace vk930
