#pragma once
// Template and control ids of the Tools menu's dialogs: Compare with terminal, Backups and
// Service history. Their "Close" button is id::kCancel, so Escape and the frame close them too.
namespace vk930::id {

inline constexpr int kCompareTemplate = 140;
inline constexpr int kCompareFile = 1101;
inline constexpr int kCompareBrowse = 1102;
inline constexpr int kCompareList = 1103;
inline constexpr int kCompareCounts = 1104;
inline constexpr int kCompareRun = 1105;
inline constexpr int kCompareSetNow = 1106;

inline constexpr int kBackupsTemplate = 141;
inline constexpr int kBackupsFolder = 1111;
inline constexpr int kBackupsList = 1112;
inline constexpr int kBackupsStatus = 1113;
inline constexpr int kBackupsRestore = 1114;
inline constexpr int kBackupsOpen = 1115;

inline constexpr int kHistoryTemplate = 142;
inline constexpr int kHistoryCommId = 1121;
inline constexpr int kHistorySince = 1122;
inline constexpr int kHistoryShow = 1123;
inline constexpr int kHistoryWhere = 1124;
inline constexpr int kHistoryList = 1125;
inline constexpr int kHistoryDetails = 1126;
inline constexpr int kHistoryExport = 1127;

}  // namespace vk930::id
