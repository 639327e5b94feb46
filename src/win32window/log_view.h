#pragma once
// The operation log on Windows: the form's SysListView32 (control 1009) in report mode with
// one "Status" column, and the small-icon image list whose image index is an entry's icon kind.
#include <windows.h>
// The common controls need the definitions of windows.h first.
#include <commctrl.h>

#include <string>

namespace vk930 {

inline constexpr int kLogColumnWidth = 280;                                              // pixels
inline constexpr DWORD kLogExtendedStyle = LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES;  // 34
inline constexpr char kLogColumnHeading[] = "Status";

class LogView {
  public:
    LogView() = default;
    ~LogView();
    LogView(const LogView&) = delete;
    LogView& operator=(const LogView&) = delete;

    // Sets up `list`: the image list of icons 160, 161 and 181 from `module`'s resources (16
    // by 16, ILC_COLOR8 | ILC_MASK), the extended style 34 and the "Status" column. A second
    // call on the same list sets up nothing again, so a list never gets a second column.
    void Attach(HWND list, HINSTANCE module);
    // Appends an entry at the end, with the image of `kind`, and scrolls it into view.
    void Append(const std::string& text, int kind);
    void Clear();

    HWND Window() const { return list_; }

  private:
    HWND list_ = nullptr;
    HIMAGELIST images_ = nullptr;
};

}  // namespace vk930
