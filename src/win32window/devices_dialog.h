#pragma once
// The Devices dialog of the Win32 window ("COM port", "Devices..."): the core's choices per
// COM port rendered from the core's template; what is chosen is written as Device1 to
// Device8 by the core.
#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "core/app/devices_choice.h"
#include "core/forms/dialog_template.h"
#include "core/settings/settings_backend.h"
#include "win32window/template_dialog.h"

namespace vk930 {

namespace detail {
// Holds the template the dialog is rendered from, made before the dialog that refers to it.
struct DevicesTemplateHolder {
    explicit DevicesTemplateHolder(const DevicesChoice& choice);
    DialogTemplate description;
};
}  // namespace detail

class DevicesDialog : private detail::DevicesTemplateHolder, public TemplateDialog {
  public:
    explicit DevicesDialog(const DevicesChoice& choice);
    // The option selected per port (COM1 first) after OK; nullopt after Cancel.
    std::optional<std::array<int, kPortCount>> Run(HWND owner, HINSTANCE module);

  protected:
    void OnInit(HWND dialog) override;
    void OnCommand(HWND dialog, int id) override;

  private:
    const DevicesChoice& choice_;
    std::array<int, kPortCount> selected_{};
};

// The simulated terminal's spec on Windows: its pages in the user's local application data.
std::string WindowsSimulatedTerminalSpec();

// Runs the dialog on the settings with the COM ports present offered, writes the choices and
// shows `report` what could not be written. True when a port reaches something else now (the
// links opened so far are then stale).
bool RunWin32DevicesDialog(HWND owner, HINSTANCE module, SettingsBackendFactory& settings,
                           const std::optional<std::string>& overridden,
                           const std::function<void(const std::string&)>& report);

}  // namespace vk930
