// The Devices dialog in Qt widgets, on the core's choices.
#include "window/devices_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "core/app/devices_choice.h"
#include "core/forms/dialog_ids.h"
#include "core/forms/menu_template.h"
#include "core/settings/settings_keys.h"
#include "platform/link_factory.h"
#include "window/dialog_builder.h"
#include "window/text.h"

namespace vk930 {

namespace {

// "Device3: what each COM port reaches (a link spec)", from the table of settings keys.
QString SettingTip(const std::string& name) {
    const SettingsKey* key = FindSettingsKey(name);
    return ToQ(name + (key ? ": " + key->meaning : std::string()));
}

// A device by its stable by-id name where udev gave one, with the driver's description.
std::vector<DeviceOption> DeviceOptions(const std::vector<SerialDevice>& devices) {
    std::vector<DeviceOption> options;
    for (const SerialDevice& device : devices) {
        const std::string spec = device.byId.empty() ? device.path : device.byId;
        std::string label = spec;
        if (!device.description.empty()) label += "  (" + device.description + ")";
        options.push_back({label, spec});
    }
    return options;
}

}  // namespace

CDevicesDlg::CDevicesDlg(const std::array<std::string, kPortCount>& current,
                         const std::vector<SerialDevice>& devices, const std::string& simSpec,
                         const std::optional<std::string>& overridden, QWidget* parent)
    : QDialog(parent),
      choice_(MakeDevicesChoice(current, DeviceOptions(devices), simSpec, overridden)) {
    setWindowTitle("Devices");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    for (const PortChoice& port : choice_.ports) {
        auto* choice = new QComboBox(this);
        choice->setObjectName(QStringLiteral("deviceCOM%1").arg(port.port));
        choice->setToolTip(SettingTip(port.settingName));
        for (const DeviceOption& option : port.options)
            choice->addItem(ToQ(option.label), ToQ(option.spec));
        choice->setCurrentIndex(port.selected);
        choices_[static_cast<std::size_t>(port.port - 1)] = choice;
        form->addRow(QStringLiteral("COM%1").arg(port.port), choice);
    }
    if (!choice_.overrideNote.empty()) {
        auto* note = new QLabel(ToQ(choice_.overrideNote), this);
        note->setObjectName(QStringLiteral("overrideNote"));
        note->setWordWrap(true);
        layout->addWidget(note);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(ControlObjectName(id::kOk));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(ControlObjectName(id::kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::vector<std::pair<int, std::string>> CDevicesDlg::Changes() const {
    std::array<int, kPortCount> selected{};
    for (std::size_t i = 0; i < selected.size(); ++i) selected[i] = choices_[i]->currentIndex();
    return ChangedPorts(choice_, selected);
}

bool RunDevicesDialog(QWidget* parent, SettingsBackendFactory& settings,
                      const std::optional<std::string>& overridden) {
    // The simulated terminal keeps its pages in the user's data folder, as scripts/run.sh has it.
    const std::string simSpec = SimulatedTerminalSpec(
        ToStd(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)));
    CDevicesDlg dialog(CurrentDeviceSpecs(settings), SerialDevicesPresent(), simSpec, overridden,
                       parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    const DevicesApplied applied = ApplyDeviceChanges(settings, simSpec, dialog.Changes());
    if (!applied.problems.empty()) {
        QMessageBox box(QMessageBox::Warning, kFrameTitle, ToQ(applied.problems), QMessageBox::Ok,
                        parent);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
    return applied.changed;
}

}  // namespace vk930
