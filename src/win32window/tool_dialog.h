#pragma once
// A dialog of the Tools menu with Win32 controls: its controller's template as a modal dialog,
// every click, edit and list selection forwarded to the controller, which decides what it shows.
#include <windows.h>
#undef MessageBox

#include "core/app/tool_dialog.h"
#include "win32window/file_dialog.h"
#include "win32window/template_dialog.h"

namespace vk930 {

class Win32ToolDialog : public TemplateDialog, public ToolView {
  public:
    Win32ToolDialog(ToolController& controller, FileDialogRunner files);

    // The window of the dialog while it runs (tests find its controls through it).
    HWND Window() const { return window_; }

    // ToolView
    void SetText(int id, const std::string& text) override;
    void SetEnabled(int id, bool enabled) override;
    void SetRows(int id, const std::vector<ToolRow>& rows) override;
    bool AskYesNo(const std::string& question) override;
    void Tell(const std::string& text) override;
    FileDialogAnswer AskFile(const FileDialogRequest& request) override;
    void Close() override;

  protected:
    void OnInit(HWND dialog) override;
    void OnCommandCode(HWND dialog, int id, int code) override;
    void OnNotify(HWND dialog, const NMHDR& header) override;

  private:
    ToolController& controller_;
    FileDialogRunner files_;
    HWND window_ = nullptr;
    bool filling_ = false;  // rows being replaced: no selection events
};

}  // namespace vk930
