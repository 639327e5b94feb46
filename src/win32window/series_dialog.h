#pragma once
// The "Number a series" dialog (template 143) with Win32 controls: it renders the choices, the
// table of terminals (a list view whose "done: remove it" rows are painted to be seen across
// the bench) and the totals the core's SeriesDialog gives it, and forwards its buttons there.
#include <windows.h>
// The host contract's own names, not the Win32 macros that would rename them.
#undef MessageBox
#undef SetCurrentDirectory

#include <vector>

#include "core/app/series_dialog.h"
#include "win32window/file_dialog.h"
#include "win32window/template_dialog.h"

namespace vk930 {

class Win32SeriesDialog : public TemplateDialog, private SeriesDialogView {
  public:
    Win32SeriesDialog(SeriesDialogParts parts, FileDialogRunner files);
    ~Win32SeriesDialog() override;
    Win32SeriesDialog(const Win32SeriesDialog&) = delete;
    Win32SeriesDialog& operator=(const Win32SeriesDialog&) = delete;

  protected:
    void OnInit(HWND dialog) override;
    void OnCommandCode(HWND dialog, int id, int code) override;
    std::optional<LRESULT> NotifyAnswer(HWND dialog, const NMHDR& header) override;

  private:
    // SeriesDialogView
    void ShowChoices(const SeriesChoices& choices) override;
    void ShowRegistry(const std::string& text) override;
    void ShowRow(std::size_t index, const SeriesRow& row) override;
    void ShowTotals(const std::string& text) override;
    void ShowRunning(bool running, bool stopping) override;
    void Tell(const std::string& text) override;
    bool Ask(const std::string& question) override;
    std::optional<std::string> AskParameterFile() override;
    void Close() override;

    SeriesChoices CurrentChoices() const;
    bool Checked(int id) const;
    void Check(int id, bool checked);
    void Enable(int id, bool enabled);
    void ShowIdChoice();
    LRESULT PaintRow(NMLVCUSTOMDRAW& draw);

    SeriesDialog logic_;
    FileDialogRunner files_;
    HWND window_ = nullptr;
    HFONT bold_ = nullptr;          // the "done: remove it" rows' font
    std::vector<SeriesRow> shown_;  // the table's rows as painted
    bool running_ = false;
    bool closing_ = false;  // the logic let the dialog close
};

}  // namespace vk930
