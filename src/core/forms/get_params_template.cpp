#include "core/forms/dialog_ids.h"
#include "core/forms/dialog_template.h"

namespace vk930 {

const DialogTemplate& GetParamsTemplate() {
    using K = ControlKind;
    // clang-format off
    static const DialogTemplate kTemplate{
        131, "Get Parameters from VK930 device", 227, 93, "MS Sans Serif", 8,
        {
            {kNoId, K::kLabel, "COM port:", 8, 7, 33, 10},
            // The height is the list's height when dropped down.
            {id::kGetParamsPortList, K::kComboList, "", 49, 7, 41, 79, true,
             kStyleSorted | kStyleVScroll, {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6"}},
            {id::kGetParamsSaveButton, K::kPushButton, "&Save Parameters to...", 13, 27, 99, 14},
            {id::kGetParamsPathText, K::kSunkenLabel, "", 13, 44, 205, 14},
            {id::kOk, K::kDefaultPushButton, "Start Reading", 13, 68, 63, 14},
            {id::kCancel, K::kPushButton, "Cancel", 178, 69, 41, 14},
        }};
    // clang-format on
    return kTemplate;
}

}  // namespace vk930
