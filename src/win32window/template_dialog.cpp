// Modal dialogs from the core's templates.
#include "win32window/template_dialog.h"

#include <vector>

#include "core/forms/dialog_ids.h"
#include "core/forms/file_requests.h"
#include "win32window/dialog_memory.h"

namespace vk930 {

INT_PTR TemplateDialog::RunModal(HWND owner, HINSTANCE module) {
    const std::vector<DWORD> memory = BuildDialogTemplate(description_, DialogUse::kModal);
    return DialogBoxIndirectParamW(module, reinterpret_cast<const DLGTEMPLATE*>(memory.data()),
                                   owner, &TemplateDialog::Procedure,
                                   reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK TemplateDialog::Procedure(HWND dialog, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<TemplateDialog*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        FillTemplateLists(dialog, self->description_);
        self->OnInit(dialog);
        return TRUE;  // the focus goes to the first control that takes it
    }
    auto* self = reinterpret_cast<TemplateDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_COMMAND && self) {
        self->OnCommandCode(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    if (message == WM_NOTIFY && self) {
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (const std::optional<LRESULT> answer = self->NotifyAnswer(dialog, header)) {
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, *answer);
            return TRUE;
        }
        self->OnNotify(dialog, header);
        return FALSE;
    }
    return FALSE;
}

void TemplateDialog::OnCommand(HWND dialog, int id) {
    if (id == IDOK || id == IDCANCEL) EndDialog(dialog, id);
}

std::string TemplateDialog::ItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

void TemplateDialog::SetItemText(HWND dialog, int id, const std::string& text) {
    SetDlgItemTextW(dialog, id, Widen(text).c_str());
}

AboutDialog::AboutDialog() : TemplateDialog(AboutBoxTemplate()) {}

FirmwareDialog::FirmwareDialog(FileDialogRunner files)
    : TemplateDialog(FirmwareTemplate()), files_(std::move(files)) {}

FirmwareDialogAnswer FirmwareDialog::Run(HWND owner, HINSTANCE module) {
    if (RunModal(owner, module) != IDOK) return {};
    return {true, file_};
}

void FirmwareDialog::OnInit(HWND dialog) {
    SetItemText(dialog, id::kFwFilePath, file_);
}

void FirmwareDialog::OnCommand(HWND dialog, int id) {
    if (id == id::kOpenFwFileButton) {
        const FileDialogAnswer answer = files_(FirmwareFileRequest(), dialog);
        if (!answer.ok) return;  // an earlier choice stays
        file_ = answer.path;
        SetItemText(dialog, id::kFwFilePath, file_);
        return;
    }
    // The path shown is the path returned.
    if (id == IDOK) file_ = ItemText(dialog, id::kFwFilePath);
    TemplateDialog::OnCommand(dialog, id);
}

GetParamsDialog::GetParamsDialog(int portIndex, std::string path, FileDialogRunner files)
    : TemplateDialog(GetParamsTemplate()),
      files_(std::move(files)),
      portIndex_(portIndex),
      path_(std::move(path)) {}

GetParamsDialogAnswer GetParamsDialog::Run(HWND owner, HINSTANCE module) {
    if (RunModal(owner, module) != IDOK) return {};
    return {true, portIndex_, path_};
}

void GetParamsDialog::OnInit(HWND dialog) {
    HWND list = GetDlgItem(dialog, id::kGetParamsPortList);
    const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    const bool valid = portIndex_ >= 0 && portIndex_ < count;
    SendMessageW(list, CB_SETCURSEL,
                 valid ? static_cast<WPARAM>(portIndex_) : static_cast<WPARAM>(-1), 0);
    SetItemText(dialog, id::kGetParamsPathText, path_);
}

void GetParamsDialog::OnCommand(HWND dialog, int id) {
    if (id == id::kGetParamsSaveButton) {
        const FileDialogAnswer answer = files_(ParameterFileSaveRequest(), dialog);
        if (!answer.ok) return;
        path_ = answer.path;
        SetItemText(dialog, id::kGetParamsPathText, path_);
        return;
    }
    if (id == IDOK) {
        portIndex_ = static_cast<int>(
            SendDlgItemMessageW(dialog, id::kGetParamsPortList, CB_GETCURSEL, 0, 0));
    }
    TemplateDialog::OnCommand(dialog, id);
}

}  // namespace vk930
