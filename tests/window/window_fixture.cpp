#include "window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>

#include "modal_answerer.h"
#include "window/main_form.h"
#include "window/main_frame.h"
#include "window/text.h"

namespace vk930::test {

namespace {
constexpr int kCommandTimeoutMs = 30000;
}  // namespace

CConfigApp& WindowTest::Make(WindowOptions options) {
    if (options.settingsPath.isEmpty()) options.settingsPath = SettingsPath();
    if (!options.link) options.link = "sim";
    app = std::make_unique<CConfigApp>(options, [this](int ms) {
        sleeps.push_back(ms);
        if (onSleep) onSleep(ms);
    });
    return *app;
}

CConfigApp& WindowTest::Start(WindowOptions options) {
    Make(std::move(options));
    EXPECT_TRUE(app->InitInstance());
    return *app;
}

void WindowTest::TearDown() {
    app.reset();
}

QString WindowTest::SettingsPath() const {
    return ToQ(dir.File("VK930Config.ini"));
}

void WindowTest::WriteSetting(const QString& key, const QVariant& value) {
    QSettings settings(SettingsPath(), QSettings::IniFormat);
    settings.setValue(key, value);
}

QVariant WindowTest::ReadSetting(const QString& key) const {
    return QSettings(SettingsPath(), QSettings::IniFormat).value(key);
}

QString WindowTest::MakeFile(const QString& name, const QByteArray& content) {
    const std::string path = dir.File(ToStd(name));
    WriteFile(path, content.toStdString());
    return ToQ(path);
}

QWidget* WindowTest::Control(int id) {
    return app->Form().Control(id);
}

QString WindowTest::TextOf(int id) {
    QWidget* widget = Control(id);
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    ADD_FAILURE() << "control " << id << " has no text";
    return {};
}

void WindowTest::Click(int id) {
    auto* button = qobject_cast<QAbstractButton*>(Control(id));
    ASSERT_NE(button, nullptr) << "control " << id << " is not a button";
    WaitForCommandThread();
    button->click();
    WaitForCommandThread();
}

void WindowTest::Trigger(int id) {
    QAction* item = app->Frame().MenuCommand(id);
    ASSERT_NE(item, nullptr) << "command " << id << " has no menu item";
    WaitForCommandThread();
    item->trigger();
    WaitForCommandThread();
}

void WindowTest::WaitForCommandThread() {
    EXPECT_TRUE(WaitUntil([&] { return !app->Runner().Running(); }, kCommandTimeoutMs))
        << "the command did not end";
}

std::vector<LogEntry> WindowTest::Log() {
    std::vector<LogEntry> entries;
    const LogModel& model = app->Form().Log().Model();
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row);
        entries.push_back({ToStd(model.data(index, Qt::DisplayRole).toString()),
                           model.data(index, LogModel::kIconKindRole).toInt()});
    }
    return entries;
}

}  // namespace vk930::test
