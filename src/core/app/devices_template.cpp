// The Devices dialog's template, laid out from the choices.
#include "core/app/devices_template.h"

#include "core/forms/dialog_ids.h"

namespace vk930 {

namespace {

constexpr int kMargin = 7;
constexpr int kRowHeight = 18;
constexpr int kLabelWidth = 30;
constexpr int kChoiceX = 40;
constexpr int kWidth = 260;
constexpr int kChoiceDropHeight = 100;  // the open list's height; the closed one is the font's
constexpr int kNoteHeight = 24;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;

}  // namespace

DialogTemplate DevicesDialogTemplate(const DevicesChoice& choice) {
    using K = ControlKind;
    DialogTemplate dialog{0, "Devices", kWidth, 0, "MS Sans Serif", 8, {}};
    int y = kMargin;
    for (const PortChoice& port : choice.ports) {
        dialog.controls.push_back(
            {kNoId, K::kLabel, "COM" + std::to_string(port.port), kMargin, y + 2, kLabelWidth, 8});
        DialogControl list{id::kDeviceChoice1 + port.port - 1, K::kComboList,    "", kChoiceX, y,
                           kWidth - kChoiceX - kMargin,        kChoiceDropHeight};
        list.style = kStyleVScroll;
        for (const DeviceOption& option : port.options) list.items.push_back(option.label);
        dialog.controls.push_back(std::move(list));
        y += kRowHeight;
    }
    if (!choice.overrideNote.empty()) {
        dialog.controls.push_back(
            {kNoId, K::kLabel, choice.overrideNote, kMargin, y, kWidth - 2 * kMargin, kNoteHeight});
        y += kNoteHeight + kMargin;
    }
    const int cancelX = kWidth - kMargin - kButtonWidth;
    dialog.controls.push_back({id::kOk, K::kDefaultPushButton, "OK", cancelX - 4 - kButtonWidth, y,
                               kButtonWidth, kButtonHeight});
    dialog.controls.push_back(
        {id::kCancel, K::kPushButton, "Cancel", cancelX, y, kButtonWidth, kButtonHeight});
    dialog.height = y + kButtonHeight + kMargin;
    return dialog;
}

}  // namespace vk930
