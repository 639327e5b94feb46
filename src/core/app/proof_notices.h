#pragma once
// What a window shows of the safeguards around the commands: the line naming the last backup
// in the link control's place, and the boxes for a service log that cannot be written, for a
// command that was refused and for a notice.
#include <string>

namespace vk930 {

inline constexpr char kServiceLogCaption[] = "Service log";
inline constexpr char kRefusedCaption[] = "Refused";
inline constexpr char kNoticeCaption[] = "Notice";

// "Backup: 20261209-0110-COM1-id1.pcg": the backup file's name (the window's tool tip
// carries the whole path).
std::string BackupLineText(const std::string& path);

// The service log's box: the commands go on without it, and why it cannot be written.
std::string ServiceLogFailedText(const std::string& reason);

}  // namespace vk930
