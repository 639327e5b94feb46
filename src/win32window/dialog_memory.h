#pragma once
// The core's dialog templates as Win32 in-memory templates (DLGTEMPLATEEX), built at run
// time from the one description in core/forms, so that Windows lays the dialogs out in
// dialog units of the template's own font, as a resource script would have.
#include <windows.h>

#include <string>
#include <vector>

#include "core/forms/dialog_template.h"
#include "win32window/wide_text.h"

namespace vk930 {

// How a template is shown: a modal dialog with caption and system menu, or the main form, a
// child without caption or border that fills the frame.
enum class DialogUse { kModal, kChildForm };

// The window class and styles a template control becomes.
struct Win32Control {
    std::wstring className;  // "Button", "Static", "SysListView32", ...
    DWORD style = 0;
    DWORD exStyle = 0;
};

Win32Control Win32ControlOf(const DialogControl& control);

// The dialog's own style for `use`, with DS_SETFONT: the template's font is always given.
DWORD DialogStyleOf(DialogUse use);

// The in-memory template, DWORD-aligned as DialogBoxIndirectParam and
// CreateDialogIndirectParam need it (a vector of DWORDs keeps the alignment).
std::vector<DWORD> BuildDialogTemplate(const DialogTemplate& dialog, DialogUse use);

// Fills the lists that come with the template (the port list of 131) into the created dialog.
void FillTemplateLists(HWND dialog, const DialogTemplate& description);

// The template's control id as Windows gives it back (-1, "no id", stays -1).
inline int Win32ControlId(int id) {
    return id == kNoId ? -1 : id;
}

}  // namespace vk930
