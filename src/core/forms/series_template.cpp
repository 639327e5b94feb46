// The "Number a series" dialog (143): the series' choices, its table of terminals and totals.
#include "core/forms/dialog_ids.h"
#include "core/forms/dialog_template.h"

namespace vk930 {

const DialogTemplate& SeriesTemplate() {
    using K = ControlKind;
    // clang-format off
    static const DialogTemplate kTemplate{
        143, "Number a series", 340, 262, "MS Sans Serif", 8,
        {
            {kNoId, K::kGroupBox, "IDs", 7, 4, 160, 66},
            {id::kSeriesNextId, K::kCheckBox, "Start at the next ID after the stored one", 13, 15, 150, 10},
            {kNoId, K::kLabel, "or from ID:", 13, 29, 48, 10},
            {id::kSeriesFirstId, K::kEdit, "", 64, 27, 40, 12, true, kStyleDigitsOnly | kStyleBorder},
            {kNoId, K::kLabel, "At each station:", 13, 45, 56, 10},
            {id::kSeriesCount, K::kEdit, "", 72, 43, 32, 12, true, kStyleDigitsOnly | kStyleBorder},
            {kNoId, K::kLabel, "terminals", 108, 45, 40, 10},
            {id::kSeriesUntilStop, K::kCheckBox, "or until stopped", 13, 57, 150, 10},
            {kNoId, K::kGroupBox, "Stations", 173, 4, 160, 66},
            {id::kSeriesPort1 + 0, K::kCheckBox, "COM1", 180, 15, 34, 10},
            {id::kSeriesPort1 + 1, K::kCheckBox, "COM2", 218, 15, 34, 10},
            {id::kSeriesPort1 + 2, K::kCheckBox, "COM3", 256, 15, 34, 10},
            {id::kSeriesPort1 + 3, K::kCheckBox, "COM4", 294, 15, 34, 10},
            {id::kSeriesPort1 + 4, K::kCheckBox, "COM5", 180, 29, 34, 10},
            {id::kSeriesPort1 + 5, K::kCheckBox, "COM6", 218, 29, 34, 10},
            {id::kSeriesPort1 + 6, K::kCheckBox, "COM7", 256, 29, 34, 10},
            {id::kSeriesPort1 + 7, K::kCheckBox, "COM8", 294, 29, 34, 10},
            {id::kSeriesVerify, K::kCheckBox, "Verify after the Set", 180, 45, 140, 10},
            {kNoId, K::kLabel, "Parameter file to program first (empty: none):", 7, 76, 200, 10},
            {id::kSeriesFile, K::kEdit, "", 7, 88, 270, 12, true, kStyleBorder},
            {id::kSeriesBrowse, K::kPushButton, "Browse...", 283, 87, 50, 14},
            {id::kSeriesRegistry, K::kLabel, "", 7, 106, 326, 10},
            {id::kSeriesTable, K::kListView, "", 7, 119, 326, 106, true, kStyleBorder},
            {id::kSeriesTotals, K::kLabel, "", 7, 229, 326, 10},
            {id::kSeriesStart, K::kDefaultPushButton, "Start", 171, 243, 50, 14},
            {id::kSeriesStop, K::kPushButton, "Stop", 227, 243, 50, 14},
            {id::kSeriesClose, K::kPushButton, "Close", 283, 243, 50, 14},
        }};
    // clang-format on
    return kTemplate;
}

}  // namespace vk930
