#pragma once
// A modal dialog rendered from a core template; subclasses give its few handlers. The About
// box (100), the Get Parameters dialog (131) and the firmware dialog (138) are these.
#include <windows.h>
// The common controls need the definitions of windows.h first.
#include <commctrl.h>

#include <optional>
#include <string>

#include "core/commands/host.h"
#include "core/forms/dialog_template.h"
#include "win32window/file_dialog.h"

namespace vk930 {

class TemplateDialog {
  public:
    explicit TemplateDialog(const DialogTemplate& description) : description_(description) {}
    virtual ~TemplateDialog() = default;

    // Runs the dialog modally over `owner`; returns the id that ended it (IDOK, IDCANCEL),
    // or -1 when Windows could not make it.
    INT_PTR RunModal(HWND owner, HINSTANCE module);

    const DialogTemplate& Description() const { return description_; }

  protected:
    // WM_INITDIALOG, after the template's lists are filled.
    virtual void OnInit(HWND) {}
    // WM_COMMAND; the default ends the dialog on OK and Cancel.
    virtual void OnCommand(HWND dialog, int id);
    // WM_COMMAND with its notification code (BN_CLICKED, EN_CHANGE, ...); the default passes
    // the id on to OnCommand.
    virtual void OnCommandCode(HWND dialog, int id, int code) {
        (void)code;
        OnCommand(dialog, id);
    }
    // WM_NOTIFY from a control (a list view's selection).
    virtual void OnNotify(HWND dialog, const NMHDR& header) {
        (void)dialog;
        (void)header;
    }
    // WM_NOTIFY whose sender heeds the answer (a list view's custom draw, a change it may
    // refuse): the answer, or nullopt for the default (then OnNotify hears it).
    virtual std::optional<LRESULT> NotifyAnswer(HWND dialog, const NMHDR& header) {
        (void)dialog;
        (void)header;
        return std::nullopt;
    }

    static std::string ItemText(HWND dialog, int id);
    static void SetItemText(HWND dialog, int id, const std::string& text);

  private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    const DialogTemplate& description_;
};

// Dialog 100.
class AboutDialog : public TemplateDialog {
  public:
    AboutDialog();
};

// Dialog 138: the firmware file is chosen with `files`; the path shown is the one returned.
class FirmwareDialog : public TemplateDialog {
  public:
    explicit FirmwareDialog(FileDialogRunner files);
    FirmwareDialogAnswer Run(HWND owner, HINSTANCE module);

  protected:
    void OnInit(HWND dialog) override;
    void OnCommand(HWND dialog, int id) override;

  private:
    FileDialogRunner files_;
    std::string file_;
};

// Dialog 131: the port list preselected at `portIndex` (none when out of range), the path
// shown; "&Save Parameters to..." asks for a new one with `files`.
class GetParamsDialog : public TemplateDialog {
  public:
    GetParamsDialog(int portIndex, std::string path, FileDialogRunner files);
    GetParamsDialogAnswer Run(HWND owner, HINSTANCE module);

  protected:
    void OnInit(HWND dialog) override;
    void OnCommand(HWND dialog, int id) override;

  private:
    FileDialogRunner files_;
    int portIndex_;
    std::string path_;
};

}  // namespace vk930
