// The settings store seen from the window: the first start and a store that cannot be made.
#include <QMenu>

#include "core/forms/form_ids.h"
#include "window/main_frame.h"
#include "window/text.h"
#include "window_fixture.h"

namespace vk930::test {
namespace {

class SettingsWindowTest : public WindowTest {
  protected:
    QStringList CheckedPorts() {
        QMenu* menu = app->Frame().ComPortMenu();
        emit menu->aboutToShow();
        QStringList checked;
        for (QAction* item : menu->actions())
            if (item->isChecked()) checked << item->text();
        return checked;
    }
};

TEST_F(SettingsWindowTest, FirstStartWritesTheDefaults) {
    Start();
    EXPECT_EQ(ReadSetting("ComPort").toInt(), 1);
    EXPECT_EQ(ReadSetting("AllowEditSno").toInt(), 0);
    EXPECT_FALSE(ReadSetting("commID").isValid());
    EXPECT_EQ(CheckedPorts(), QStringList{"COM1"});
}

TEST_F(SettingsWindowTest, StoreThatCannotBeCreatedShowsBothBoxesAndGivesPortZero) {
    // The settings file would have to live inside a plain file: it can never be created.
    const QString blocker = MakeFile("not-a-folder");
    WindowOptions options;
    options.settingsPath = blocker + "/VK930Config.ini";
    std::vector<MessageBoxSeen> boxes;
    ModalAnswerer answerer({AcceptMessageBox(boxes), AcceptMessageBox(boxes),
                            AcceptMessageBox(boxes), AcceptMessageBox(boxes)});
    Start(options);
    EXPECT_EQ(boxes, (std::vector<MessageBoxSeen>{{"er", "5"}, {"5", "RegCreateEx FAIL"}}));
    EXPECT_EQ(app->State().comPort, 0);
    EXPECT_TRUE(CheckedPorts().isEmpty());

    app->Frame().MenuCommand(id::kCmdComPort1 + 2)->trigger();  // each opening shows them
    EXPECT_EQ(boxes.size(), 4u);
    EXPECT_EQ(app->State().comPort, 3);
    EXPECT_EQ(answerer.Unexpected(), 0);
}

}  // namespace
}  // namespace vk930::test
