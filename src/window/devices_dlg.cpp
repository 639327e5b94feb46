#include "window/devices_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QStringList>
#include <QVBoxLayout>

#include "core/forms/dialog_ids.h"
#include "core/forms/menu_template.h"
#include "core/settings/settings_keys.h"
#include "platform/link_factory.h"
#include "platform/port_assignment.h"
#include "window/dialog_builder.h"
#include "window/text.h"

namespace vk930 {

namespace {

// The simulated terminal keeps its pages in the user's data folder, as scripts/run.sh has it.
std::string SimulatedTerminalSpec() {
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/VK930Config";
    return "sim:" + ToStd(folder) + "/terminal.bin";
}

// "Device3: what each COM port reaches (a link spec)", from the table of settings keys.
QString SettingTip(const std::string& name) {
    const SettingsKey* key = FindSettingsKey(name);
    return ToQ(name + (key ? ": " + key->meaning : std::string()));
}

QString DeviceLabel(const SerialDevice& device) {
    QString label = ToQ(device.byId.empty() ? device.path : device.byId);
    if (!device.description.empty()) label += "  (" + ToQ(device.description) + ")";
    return label;
}

}  // namespace

CDevicesDlg::CDevicesDlg(const std::array<std::string, kPortCount>& current,
                         const std::vector<SerialDevice>& devices, const std::string& simSpec,
                         const std::optional<std::string>& overridden, QWidget* parent)
    : QDialog(parent), current_(current) {
    setWindowTitle("Devices");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    for (int i = 0; i < kPortCount; ++i) {
        auto* choice = new QComboBox(this);
        choice->setObjectName(QStringLiteral("deviceCOM%1").arg(i + 1));
        choice->setToolTip(SettingTip(DeviceSettingName(i + 1)));
        for (const SerialDevice& device : devices)
            choice->addItem(DeviceLabel(device),
                            ToQ(device.byId.empty() ? device.path : device.byId));
        choice->addItem("Simulated terminal", ToQ(simSpec));
        choice->addItem("Nothing", QStringLiteral("none"));
        // What the port reaches now stays selectable, even when it is none of the above.
        int selected = choice->findData(ToQ(current[static_cast<std::size_t>(i)]));
        if (selected < 0) {
            choice->insertItem(0, ToQ(current[static_cast<std::size_t>(i)]),
                               ToQ(current[static_cast<std::size_t>(i)]));
            selected = 0;
        }
        choice->setCurrentIndex(selected);
        choices_[static_cast<std::size_t>(i)] = choice;
        form->addRow(QStringLiteral("COM%1").arg(i + 1), choice);
    }
    if (overridden) {
        auto* note = new QLabel("--link " + ToQ(*overridden) +
                                    " reaches every port until the program ends; these choices "
                                    "count from the next start.",
                                this);
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
    std::vector<std::pair<int, std::string>> changes;
    for (int i = 0; i < kPortCount; ++i) {
        const std::string chosen =
            ToStd(choices_[static_cast<std::size_t>(i)]->currentData().toString());
        if (chosen != current_[static_cast<std::size_t>(i)]) changes.emplace_back(i + 1, chosen);
    }
    return changes;
}

bool RunDevicesDialog(QWidget* parent, SettingsBackendFactory& settings,
                      const std::optional<std::string>& overridden) {
    std::array<std::string, kPortCount> current;
    for (int port = 1; port <= kPortCount; ++port)
        current[static_cast<std::size_t>(port - 1)] = DeviceSpecFor(port, std::nullopt, settings);
    const std::string simSpec = SimulatedTerminalSpec();
    CDevicesDlg dialog(current, SerialDevicesPresent(), simSpec, overridden, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    QStringList problems;
    bool changed = false;
    for (const auto& [port, spec] : dialog.Changes()) {
        if (spec == simSpec) QDir().mkpath(ToQ(simSpec.substr(4)).section('/', 0, -2));
        if (Status written = WriteAssignment(settings, port, spec); !written)
            problems << QStringLiteral("COM%1: ").arg(port) + ToQ(written.error());
        else
            changed = true;
    }
    if (!problems.isEmpty()) {
        QMessageBox box(QMessageBox::Warning, kFrameTitle, problems.join('\n'), QMessageBox::Ok,
                        parent);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
    return changed;
}

}  // namespace vk930
