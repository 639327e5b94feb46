#include "core/forms/dialog_ids.h"
#include "core/forms/dialog_template.h"

namespace vk930 {

const DialogTemplate& AboutBoxTemplate() {
    using K = ControlKind;
    // clang-format off
    static const DialogTemplate kTemplate{
        100, "About VK930Config", 235, 55, "MS Sans Serif", 8,
        {
            // An icon control takes the icon's own size, so it carries no size of its own.
            {kNoId, K::kIcon, "128", 11, 17, 0, 0},
            {kNoId, K::kLabel, "VK930Config Version 1.4", 40, 10, 119, 8},
            {kNoId, K::kLabel, "VK930 Hand Terminal utility", 40, 25, 119, 8},
            {id::kOk, K::kDefaultPushButton, "OK", 178, 7, 50, 14},
        }};
    // clang-format on
    return kTemplate;
}

}  // namespace vk930
