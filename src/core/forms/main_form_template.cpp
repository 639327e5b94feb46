#include "core/forms/dialog_template.h"
#include "core/forms/form_ids.h"

namespace vk930 {

const DialogTemplate& MainFormTemplate() {
    using K = ControlKind;
    static const DialogTemplate kTemplate{
        101,
        "",
        282,
        327,
        "MS Sans Serif",
        8,
        {
            {id::kGetKeyedButton, K::kPushButton, "&Get...", 244, 119, 13, 16, false},
            {id::kSetRunButton, K::kPushButton, "&Set...", 259, 118, 10, 16, false},
            {kNoId, K::kGroupBox, "Parameters", 7, 92, 268, 48},
            {id::kLog, K::kListView, "", 7, 176, 268, 136, true, kStyleBorder},
            {id::kClearListButton, K::kPushButton, "C&lear list", 7, 314, 51, 13},
            {id::kEditWithNotepadButton, K::kPushButton, "Edit with Notepad", 119, 120, 72, 17},
            {id::kCloseButton, K::kDefaultPushButton, "C&lose", 223, 313, 52, 13},
            {kNoId, K::kLabel, "File:", 13, 103, 17, 8},
            {id::kFilePath, K::kSunkenLabel, "", 31, 103, 238, 11},
            {kNoId, K::kGroupBox, "", 7, 7, 268, 82},
            {id::kReadDeviceInfoButton, K::kPushButton, "&Read Device Info", 13, 15, 82, 18},
            {kNoId, K::kLabel, "Type:", 13, 45, 17, 8},
            {kNoId, K::kLabel, "Version:", 13, 59, 27, 8},
            {id::kType, K::kSunkenLabel, "", 45, 44, 55, 11},
            {id::kVersion, K::kSunkenLabel, "", 45, 58, 55, 11},
            {kNoId, K::kLabel, "CommID:", 13, 73, 29, 8},
            {kNoId, K::kLabel, "Scanner:", 103, 16, 29, 8},
            {id::kScanner, K::kSunkenLabel, "", 135, 16, 70, 11},
            {kNoId, K::kLabel, "RFID:", 103, 31, 29, 8},
            {id::kRfid, K::kSunkenLabel, "", 135, 30, 70, 11},
            {kNoId, K::kLabel, "Color:", 103, 44, 29, 8},
            {id::kColor, K::kSunkenLabel, "", 135, 45, 70, 11},
            {kNoId, K::kLabel, "Display:", 103, 58, 29, 8},
            {id::kDisplay, K::kSunkenLabel, "", 135, 59, 70, 11},
            {id::kLinkControl, K::kLinkControl, "", 7, 142, 268, 31},
            {id::kCommId, K::kEdit, "", 45, 73, 27, 12, true,
             kStyleBorder | kStyleReadOnly | kStyleDigitsOnly},
            {id::kSetCommIdButton, K::kPushButton, "&Set", 76, 73, 25, 13, false},
            {id::kGetButton, K::kPushButton, "Get", 67, 120, 43, 17},
            {id::kSetButton, K::kPushButton, "Set", 13, 120, 44, 17},
            {id::kNextCommIdButton, K::kPushButton, "", 167, 74, 43, 12, false},
            {id::kNextCommIdLabel, K::kLabel, "Set next CommID:", 109, 76, 59, 8, false},
        }};
    return kTemplate;
}

}  // namespace vk930
