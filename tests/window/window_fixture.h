#pragma once
// The real window on a simulated terminal in memory, with a settings file of its own in a
// fresh folder and a sleep that only records, so that no test waits for the terminal.
#include <gtest/gtest.h>

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "modal_answerer.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "window/config_app.h"

namespace vk930::test {

class WindowTest : public ::testing::Test {
  protected:
    // Makes the window (not yet shown) with these options; the settings file and the link
    // default to the fixture's.
    CConfigApp& Make(WindowOptions options = {});
    // Makes it and runs its start-up; the window is shown.
    CConfigApp& Start(WindowOptions options = {});
    void TearDown() override;

    QString SettingsPath() const;
    void WriteSetting(const QString& key, const QVariant& value);
    QVariant ReadSetting(const QString& key) const;
    // A file in the fixture's folder with this content.
    QString MakeFile(const QString& name, const QByteArray& content = {});

    QWidget* Control(int id);
    QString TextOf(int id);
    // Clicks the button once no command runs, and waits for the command it starts to end.
    void Click(int id);
    // The same for a menu item.
    void Trigger(int id);
    // Serves the window until no command runs on the command thread.
    void WaitForCommandThread();
    std::vector<LogEntry> Log();

    TempDir dir;
    std::vector<int> sleeps;
    // Called on the command's thread for each of its waits, after it was recorded.
    std::function<void(int ms)> onSleep;
    std::unique_ptr<CConfigApp> app;
};

}  // namespace vk930::test
