// The common file dialogs.
#include "win32window/file_dialog.h"

#include <commdlg.h>

#include <string>
#include <vector>

namespace vk930 {

FileDialogAnswer RunWin32FileDialog(const FileDialogRequest& request, HWND owner) {
    std::vector<char> file(MAX_PATH * 4, '\0');
    request.initialName.copy(file.data(), file.size() - 1);
    // The filter is pairs of NUL-ended texts, ended by one more NUL.
    std::string filter;
    if (!request.filterName.empty()) {
        filter = request.filterName + '\0' + request.filterPattern + '\0' + '\0';
    }
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrDefExt =
        request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | (request.save ? OFN_OVERWRITEPROMPT : 0);
    const BOOL chosen = request.save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    if (!chosen) return {};
    return {true, std::string(file.data())};
}

}  // namespace vk930
