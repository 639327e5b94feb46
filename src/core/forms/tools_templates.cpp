// The Tools menu's dialogs as templates, in dialog units. A list view's items are its column
// headings.
#include "core/forms/dialog_ids.h"
#include "core/forms/dialog_template.h"
#include "core/forms/tool_ids.h"

namespace vk930 {

const DialogTemplate& CompareTemplate() {
    using K = ControlKind;
    // clang-format off
    static const DialogTemplate kTemplate{
        id::kCompareTemplate, "Compare with terminal", 320, 198, "MS Sans Serif", 8,
        {
            {kNoId, K::kLabel, "Parameter file:", 7, 9, 52, 8},
            {id::kCompareFile, K::kEdit, "", 60, 7, 190, 12, true, kStyleReadOnly | kStyleBorder},
            {id::kCompareBrowse, K::kPushButton, "&Browse...", 256, 6, 57, 14},
            {id::kCompareList, K::kListView, "", 7, 25, 306, 131, true, kStyleNone,
             {"Key", "Terminal", "After the Set", "Warning"}},
            {id::kCompareCounts, K::kLabel, "", 7, 161, 306, 8},
            {id::kCompareRun, K::kDefaultPushButton, "&Compare", 7, 177, 60, 14},
            {id::kCompareSetNow, K::kPushButton, "&Set now", 72, 177, 60, 14},
            {id::kCancel, K::kPushButton, "Close", 253, 177, 60, 14},
        }};
    // clang-format on
    return kTemplate;
}

const DialogTemplate& BackupsTemplate() {
    using K = ControlKind;
    // clang-format off
    static const DialogTemplate kTemplate{
        id::kBackupsTemplate, "Backups", 320, 198, "MS Sans Serif", 8,
        {
            {id::kBackupsFolder, K::kLabel, "", 7, 7, 306, 8},
            {id::kBackupsList, K::kListView, "", 7, 18, 306, 138, true, kStyleNone,
             {"Time", "Port", "CommID", "File"}},
            {id::kBackupsStatus, K::kLabel, "", 7, 161, 306, 8},
            {id::kBackupsRestore, K::kPushButton, "&Restore", 7, 177, 60, 14},
            {id::kBackupsOpen, K::kPushButton, "&Open", 72, 177, 60, 14},
            {id::kCancel, K::kDefaultPushButton, "Close", 253, 177, 60, 14},
        }};
    // clang-format on
    return kTemplate;
}

const DialogTemplate& HistoryTemplate() {
    using K = ControlKind;
    // clang-format off
    static const DialogTemplate kTemplate{
        id::kHistoryTemplate, "Service history", 320, 198, "MS Sans Serif", 8,
        {
            {kNoId, K::kLabel, "CommID:", 7, 9, 30, 8},
            {id::kHistoryCommId, K::kEdit, "", 38, 7, 40, 12, true,
             kStyleDigitsOnly | kStyleBorder},
            {kNoId, K::kLabel, "Since (YYYY-MM-DD):", 86, 9, 72, 8},
            {id::kHistorySince, K::kEdit, "", 160, 7, 60, 12, true, kStyleBorder},
            {id::kHistoryShow, K::kDefaultPushButton, "&Show", 226, 6, 50, 14},
            {id::kHistoryWhere, K::kLabel, "", 7, 24, 306, 8},
            {id::kHistoryList, K::kListView, "", 7, 34, 306, 96, true, kStyleNone,
             {"Time", "Command", "Port", "CommID", "Outcome"}},
            {id::kHistoryDetails, K::kSunkenLabel, "", 7, 133, 306, 40},
            {id::kHistoryExport, K::kPushButton, "&Export CSV...", 7, 177, 60, 14},
            {id::kCancel, K::kPushButton, "Close", 253, 177, 60, 14},
        }};
    // clang-format on
    return kTemplate;
}

}  // namespace vk930
