// The operation log's list view.
#include "win32window/log_view.h"

#include "core/forms/dialog_ids.h"
#include "win32window/wide_text.h"

namespace vk930 {

namespace {

constexpr int kIconPixels = 16;
constexpr int kImagesInitial = 2;
constexpr int kImagesGrow = 5;

}  // namespace

LogView::~LogView() {
    if (images_) ImageList_Destroy(images_);
}

void LogView::Attach(HWND list, HINSTANCE module) {
    if (list == list_) return;
    list_ = list;
    if (!images_) {
        images_ = ImageList_Create(kIconPixels, kIconPixels, ILC_COLOR8 | ILC_MASK, kImagesInitial,
                                   kImagesGrow);
        for (int icon : {id::kIconLogFailure, id::kIconLogSuccess, id::kIconLogProgress}) {
            // Loaded at the standard size; the image list scales it to 16 by 16.
            HICON handle = LoadIconW(module, MAKEINTRESOURCEW(icon));
            ImageList_AddIcon(images_, handle);
        }
    }
    ListView_SetImageList(list_, images_, LVSIL_SMALL);
    ListView_SetExtendedListViewStyleEx(list_, 0, kLogExtendedStyle);
    std::wstring heading = Widen(kLogColumnHeading);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = kLogColumnWidth;
    column.pszText = heading.data();
    SendMessageW(list_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
}

void LogView::Append(const std::string& text, int kind) {
    if (!list_) return;
    std::wstring label = Widen(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = ListView_GetItemCount(list_);
    item.pszText = label.data();
    item.iImage = kind;
    SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    const int last = ListView_GetItemCount(list_) - 1;
    ListView_EnsureVisible(list_, last, FALSE);
    ListView_Update(list_, last);
}

void LogView::Clear() {
    if (list_) ListView_DeleteAllItems(list_);
}

}  // namespace vk930
