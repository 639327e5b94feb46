// A Tools dialog rendered with Win32 controls.
#include "win32window/tool_dialog.h"

#include <commctrl.h>

#include "core/forms/dialog_ids.h"
#include "win32window/wide_text.h"

namespace vk930 {

namespace {

// Column widths in dialog units: the list's width shared out, the last column the widest.
void AddColumns(HWND dialog, const DialogControl& control) {
    HWND list = GetDlgItem(dialog, control.id);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    const int count = static_cast<int>(control.items.size());
    for (int column = 0; column < count; ++column) {
        const int units = column + 1 < count
                              ? control.width / (count + 1)
                              : control.width - (count - 1) * (control.width / (count + 1));
        RECT rect{0, 0, units, 8};
        MapDialogRect(dialog, &rect);
        std::wstring heading = Widen(control.items[column]);
        LVCOLUMNW lv{};
        lv.mask = LVCF_TEXT | LVCF_WIDTH;
        lv.pszText = heading.data();
        lv.cx = rect.right - 4;
        ListView_InsertColumn(list, column, &lv);
    }
}

}  // namespace

Win32ToolDialog::Win32ToolDialog(ToolController& controller, FileDialogRunner files)
    : TemplateDialog(controller.Template()), controller_(controller), files_(std::move(files)) {}

void Win32ToolDialog::OnInit(HWND dialog) {
    window_ = dialog;
    for (const DialogControl& control : Description().controls)
        if (control.kind == ControlKind::kListView) AddColumns(dialog, control);
    controller_.OnShow(*this);
}

void Win32ToolDialog::OnCommandCode(HWND dialog, int id, int code) {
    (void)dialog;
    if (code == EN_CHANGE) {
        if (!filling_) controller_.OnEdited(id, ItemText(window_, id));
        return;
    }
    if (code == BN_CLICKED) controller_.OnCommand(id);
}

void Win32ToolDialog::OnNotify(HWND dialog, const NMHDR& header) {
    (void)dialog;
    if (header.code != LVN_ITEMCHANGED || filling_) return;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if (!(change.uChanged & LVIF_STATE)) return;
    if ((change.uNewState ^ change.uOldState) & LVIS_SELECTED)
        controller_.OnRowSelected(static_cast<int>(header.idFrom),
                                  ListView_GetNextItem(header.hwndFrom, -1, LVNI_SELECTED));
}

void Win32ToolDialog::SetText(int id, const std::string& text) {
    // A text set by the controller is no edit of the user's.
    filling_ = true;
    SetItemText(window_, id, text);
    filling_ = false;
}

void Win32ToolDialog::SetEnabled(int id, bool enabled) {
    EnableWindow(GetDlgItem(window_, id), enabled ? TRUE : FALSE);
}

void Win32ToolDialog::SetRows(int id, const std::vector<ToolRow>& rows) {
    HWND list = GetDlgItem(window_, id);
    filling_ = true;
    ListView_DeleteAllItems(list);
    for (size_t row = 0; row < rows.size(); ++row) {
        for (size_t column = 0; column < rows[row].size(); ++column) {
            std::wstring text = Widen(rows[row][column]);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(row);
            item.iSubItem = static_cast<int>(column);
            item.pszText = text.data();
            if (column == 0)
                ListView_InsertItem(list, &item);
            else
                ListView_SetItem(list, &item);
        }
    }
    filling_ = false;
}

bool Win32ToolDialog::AskYesNo(const std::string& question) {
    return MessageBoxW(window_, Widen(question).c_str(), Widen(Description().caption).c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void Win32ToolDialog::Tell(const std::string& text) {
    MessageBoxW(window_, Widen(text).c_str(), Widen(Description().caption).c_str(),
                MB_OK | MB_ICONINFORMATION);
}

FileDialogAnswer Win32ToolDialog::AskFile(const FileDialogRequest& request) {
    return files_(request, window_);
}

void Win32ToolDialog::Close() {
    EndDialog(window_, IDCANCEL);
}

}  // namespace vk930
