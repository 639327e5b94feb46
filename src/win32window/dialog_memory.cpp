// In-memory dialog templates from the core's dialog descriptions.
#include "win32window/dialog_memory.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace vk930 {

namespace {

// Predefined window classes of a dialog template are given by ordinal.
constexpr WORD kOrdinalMark = 0xFFFF;
constexpr WORD kDialogExVersion = 1;

// Writes the template's pieces in order, each starting where the format needs it.
class TemplateWriter {
  public:
    void Word(WORD value) { Raw(&value, sizeof value); }
    void Dword(DWORD value) { Raw(&value, sizeof value); }
    void Short(short value) { Raw(&value, sizeof value); }
    void Byte(BYTE value) { Raw(&value, sizeof value); }
    void Text(const std::wstring& text) { Raw(text.c_str(), (text.size() + 1) * sizeof(wchar_t)); }
    void Ordinal(WORD ordinal) {
        Word(kOrdinalMark);
        Word(ordinal);
    }
    void AlignDword() {
        while (bytes_.size() % sizeof(DWORD) != 0) bytes_.push_back(0);
    }
    std::vector<DWORD> Finish() {
        AlignDword();
        std::vector<DWORD> out(bytes_.size() / sizeof(DWORD));
        std::memcpy(out.data(), bytes_.data(), bytes_.size());
        return out;
    }

  private:
    void Raw(const void* data, std::size_t size) {
        const auto* p = static_cast<const BYTE*>(data);
        bytes_.insert(bytes_.end(), p, p + size);
    }
    std::vector<BYTE> bytes_;
};

DWORD EditStyle(unsigned style) {
    DWORD s = ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
    if (style & kStyleReadOnly) s |= ES_READONLY;
    if (style & kStyleDigitsOnly) s |= ES_NUMBER;
    return s;
}

DWORD ComboStyle(unsigned style) {
    DWORD s = CBS_DROPDOWNLIST | WS_TABSTOP;
    if (style & kStyleSorted) s |= CBS_SORT;
    if (style & kStyleVScroll) s |= WS_VSCROLL;
    return s;
}

}  // namespace

Win32Control Win32ControlOf(const DialogControl& control) {
    Win32Control c;
    switch (control.kind) {
        case ControlKind::kPushButton:
            c = {L"Button", BS_PUSHBUTTON | WS_TABSTOP};
            break;
        case ControlKind::kDefaultPushButton:
            c = {L"Button", BS_DEFPUSHBUTTON | WS_TABSTOP};
            break;
        case ControlKind::kGroupBox:
            c = {L"Button", BS_GROUPBOX};
            break;
        case ControlKind::kLabel:
            c = {L"Static", SS_LEFT};
            break;
        case ControlKind::kSunkenLabel:
            c = {L"Static", SS_LEFT | SS_SUNKEN};
            break;
        case ControlKind::kEdit:
            c = {L"Edit", EditStyle(control.style)};
            break;
        case ControlKind::kListView:
            c = {WC_LISTVIEWW, LVS_REPORT | WS_TABSTOP};
            break;
        case ControlKind::kComboList:
            c = {L"ComboBox", ComboStyle(control.style)};
            break;
        case ControlKind::kIcon:
            c = {L"Static", SS_ICON};
            break;
        case ControlKind::kCheckBox:
            c = {L"Button", BS_AUTOCHECKBOX | WS_TABSTOP};
            break;
        case ControlKind::kLinkControl:
            // The link control's place: a sunken panel whose text is the port's reach and the
            // progress of a command, on two lines (SS_CENTERIMAGE would make it one).
            c = {L"Static", SS_CENTER | SS_SUNKEN};
            break;
    }
    if (control.style & kStyleBorder) c.style |= WS_BORDER;
    c.style |= WS_CHILD;
    if (control.visible) c.style |= WS_VISIBLE;
    return c;
}

DWORD DialogStyleOf(DialogUse use) {
    if (use == DialogUse::kChildForm) return DS_SETFONT | DS_CONTROL | WS_CHILD;
    return DS_SETFONT | DS_MODALFRAME | DS_3DLOOK | WS_POPUP | WS_CAPTION | WS_SYSMENU;
}

std::vector<DWORD> BuildDialogTemplate(const DialogTemplate& dialog, DialogUse use) {
    TemplateWriter w;
    w.Word(kDialogExVersion);
    w.Word(kOrdinalMark);  // the signature of DLGTEMPLATEEX
    w.Dword(0);            // help id
    w.Dword(0);            // extended style
    w.Dword(DialogStyleOf(use));
    w.Word(static_cast<WORD>(dialog.controls.size()));
    w.Short(0);
    w.Short(0);
    w.Short(static_cast<short>(dialog.width));
    w.Short(static_cast<short>(dialog.height));
    w.Word(0);  // no menu
    w.Word(0);  // the standard dialog class
    w.Text(Widen(dialog.caption));
    w.Word(static_cast<WORD>(dialog.fontPoints));
    w.Word(FW_NORMAL);
    w.Byte(FALSE);  // not italic
    w.Byte(DEFAULT_CHARSET);
    w.Text(Widen(dialog.fontName));
    for (const DialogControl& control : dialog.controls) {
        const Win32Control c = Win32ControlOf(control);
        w.AlignDword();
        w.Dword(0);  // help id
        w.Dword(c.exStyle);
        w.Dword(c.style);
        w.Short(static_cast<short>(control.x));
        w.Short(static_cast<short>(control.y));
        w.Short(static_cast<short>(control.width));
        w.Short(static_cast<short>(control.height));
        w.Dword(static_cast<DWORD>(Win32ControlId(control.id)));
        w.Text(c.className);
        if (control.kind == ControlKind::kIcon)
            w.Ordinal(static_cast<WORD>(std::stoi(control.caption)));  // an icon resource
        else
            w.Text(Widen(control.caption));
        w.Word(0);  // no creation data
    }
    return w.Finish();
}

void FillTemplateLists(HWND dialog, const DialogTemplate& description) {
    for (const DialogControl& control : description.controls) {
        if (control.kind != ControlKind::kComboList) continue;
        HWND list = GetDlgItem(dialog, control.id);
        for (const std::string& item : control.items)
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
    }
}

}  // namespace vk930
