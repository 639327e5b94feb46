#pragma once
// Dialog templates as data: every control with its id, kind, caption, position and size in
// dialog units, and whether it starts visible. The window builds its forms and dialogs from
// these; the core takes the controls' initial state from them.
#include <string>
#include <vector>

namespace vk930 {

enum class ControlKind {
    kPushButton,
    kDefaultPushButton,
    kGroupBox,
    kLabel,        // static text
    kSunkenLabel,  // static text with a sunken edge
    kEdit,
    kListView,
    kComboList,    // drop-down list without an edit field
    kIcon,         // the caption names the icon resource ("128")
    kLinkControl,  // the link control's place on the form
    kCheckBox,     // a check box with its caption beside it
};

inline constexpr int kNoId = -1;

// Style bits beyond the kind.
enum ControlStyle : unsigned {
    kStyleNone = 0,
    kStyleReadOnly = 1u << 0,
    kStyleDigitsOnly = 1u << 1,
    kStyleBorder = 1u << 2,
    kStyleSorted = 1u << 3,
    kStyleVScroll = 1u << 4,
};

struct DialogControl {
    int id;
    ControlKind kind;
    std::string caption;
    int x, y, width, height;  // dialog units
    bool visible = true;
    unsigned style = kStyleNone;
    std::vector<std::string> items{};  // entries of a list that come with the template
};

struct DialogTemplate {
    int id;
    std::string caption;
    int width, height;  // dialog units
    std::string fontName;
    int fontPoints;
    std::vector<DialogControl> controls;  // in tab order
};

const DialogTemplate& MainFormTemplate();   // 101
const DialogTemplate& AboutBoxTemplate();   // 100
const DialogTemplate& GetParamsTemplate();  // 131
const DialogTemplate& FirmwareTemplate();   // 138
const DialogTemplate& SeriesTemplate();     // 143, Tools: "Number a series..."
const DialogTemplate& CompareTemplate();    // 140, Tools: "Compare with terminal..."
const DialogTemplate& BackupsTemplate();    // 141, Tools: "Backups..."
const DialogTemplate& HistoryTemplate();    // 142, Tools: "Service history..."

}  // namespace vk930
