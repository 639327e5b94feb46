#include "core/forms/dialog_ids.h"
#include "core/forms/dialog_template.h"

namespace vk930 {

const DialogTemplate& FirmwareTemplate() {
    using K = ControlKind;
    // clang-format off
    static const DialogTemplate kTemplate{
        138, "VK930 Firmware upload", 263, 114, "MS Sans Serif", 8,
        {
            {id::kOk, K::kDefaultPushButton, "Start uploading", 15, 87, 69, 14},
            {id::kCancel, K::kPushButton, "Cancel", 206, 93, 50, 14},
            {kNoId, K::kLabel, "1. Remove Batteries from device", 7, 7, 249, 10},
            {kNoId, K::kLabel, "2. Connect boot cable between PC Com port and device", 7, 17, 249, 10},
            {kNoId, K::kLabel, "3. Open FW file Hsbtxx.a20 where xx is version number", 7, 27, 178, 10},
            {id::kOpenFwFileButton, K::kPushButton, "Open FW file...", 8, 38, 60, 13},
            {kNoId, K::kLabel, "4. Place batteries to device.", 7, 70, 92, 10},
            {id::kFwFilePath, K::kSunkenLabel, "", 7, 53, 249, 12},
            {kNoId, K::kLabel, "5.", 7, 90, 9, 10},
        }};
    // clang-format on
    return kTemplate;
}

}  // namespace vk930
