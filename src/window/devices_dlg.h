#pragma once
// The Devices dialog ("COM port", "Devices..."): for each of COM1 to COM8 a choice of the
// serial devices present (by their stable by-id names), the simulated terminal, or nothing;
// what is chosen is written as Device1 to Device8 in the settings.
#include <QDialog>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/app/devices_choice.h"
#include "core/link/com_port_names.h"
#include "core/settings/settings_backend.h"
#include "platform/serial_devices.h"

class QComboBox;

namespace vk930 {

class CDevicesDlg : public QDialog {
    Q_OBJECT
  public:
    // current: what each port reaches now (index 0 for COM1); simSpec: the simulated
    // terminal's spec offered; overridden: a --link spec that wins over the settings.
    CDevicesDlg(const std::array<std::string, kPortCount>& current,
                const std::vector<SerialDevice>& devices, const std::string& simSpec,
                const std::optional<std::string>& overridden, QWidget* parent = nullptr);

    // The spec chosen for each port whose choice differs from what it reached.
    std::vector<std::pair<int, std::string>> Changes() const;

  private:
    DevicesChoice choice_;
    std::array<QComboBox*, kPortCount> choices_{};
};

// Runs the dialog on the settings and writes the choices; true when a port's device changed
// (the links opened so far are then stale).
bool RunDevicesDialog(QWidget* parent, SettingsBackendFactory& settings,
                      const std::optional<std::string>& overridden);

}  // namespace vk930
