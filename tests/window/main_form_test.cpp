// The main form: template 101 on screen, the menu, the caption, the operation log, Read
// Device Info and the CommID controls on the simulated terminal.
#include "window/main_form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "core/forms/dialog_template.h"
#include "core/forms/form_ids.h"
#include "window/dialog_builder.h"
#include "window/main_frame.h"
#include "window/text.h"
#include "window_fixture.h"

namespace vk930::test {
namespace {

// The widget of a template control: by object name, or for a control without an id by its
// caption and place.
QWidget* WidgetOf(QWidget& form, const DialogControl& c, const DialogUnits& units) {
    if (c.id != kNoId) return form.findChild<QWidget*>(ControlObjectName(c.id));
    for (QWidget* child : form.findChildren<QWidget*>()) {
        const QString text = qobject_cast<QLabel*>(child) ? qobject_cast<QLabel*>(child)->text()
                             : qobject_cast<QGroupBox*>(child)
                                 ? qobject_cast<QGroupBox*>(child)->title()
                                 : QStringLiteral("\x01");
        if (text == ToQ(c.caption) && child->geometry() == units.Rect(c)) return child;
    }
    return nullptr;
}

QString CaptionOf(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    if (auto* box = qobject_cast<QGroupBox*>(widget)) return box->title();
    return {};
}

TEST(DialogUnits, ConvertLikeThePlatformWithTheFontsBaseUnits) {
    const DialogUnits units{6, 13};  // the classic 8-point dialog font
    EXPECT_EQ(units.Rect({1, ControlKind::kListView, "", 7, 176, 268, 136}),
              QRect(11, 286, 402, 221));
    EXPECT_EQ(units.X(1), 2);  // 1.5 rounds up, as MulDiv does
    EXPECT_EQ(units.Y(3), 5);  // 4.875
    EXPECT_EQ(units.Size(282, 327), QSize(423, 531));

    const QFont font = DialogFont(MainFormTemplate());
    const QFontMetrics metrics(font);
    const DialogUnits measured = UnitsOf(font);
    const int letters =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(measured.baseX, (letters / 26 + 1) / 2);
    EXPECT_EQ(measured.baseY, metrics.height());
    EXPECT_EQ(font.pointSize(), 8);
}

class MainFormTest : public WindowTest {};

TEST_F(MainFormTest, EveryControlOfTheTemplateIsWhereTheTemplatePutsIt) {
    Start();
    MainFormWidget& form = app->Form();
    // The font's own units, the horizontal base widened as far as the fixed texts need.
    const DialogUnits measured = UnitsOf(DialogFont(MainFormTemplate()));
    const DialogUnits units = form.Units();
    EXPECT_EQ(units.baseY, measured.baseY);
    EXPECT_GE(units.baseX, measured.baseX);
    EXPECT_EQ(form.size(), units.Size(282, 327));
    for (const DialogControl& c : MainFormTemplate().controls) {
        SCOPED_TRACE("control " + std::to_string(c.id) + " " + c.caption);
        QWidget* widget = WidgetOf(form, c, units);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), units.Rect(c));
        EXPECT_EQ(widget->isHidden(), !c.visible);
        if (c.kind != ControlKind::kListView && c.kind != ControlKind::kLinkControl) {
            EXPECT_EQ(CaptionOf(widget), ToQ(c.caption));
        }
        const bool isButton = qobject_cast<QAbstractButton*>(widget) != nullptr;
        EXPECT_EQ(isButton,
                  c.kind == ControlKind::kPushButton || c.kind == ControlKind::kDefaultPushButton);
    }
    EXPECT_TRUE(qobject_cast<QPushButton*>(Control(id::kCloseButton))->isDefault());
    EXPECT_NE(qobject_cast<OperationLogView*>(Control(id::kLog)), nullptr);
    auto* commId = qobject_cast<QLineEdit*>(Control(id::kCommId));
    ASSERT_NE(commId, nullptr);
    EXPECT_TRUE(commId->isReadOnly());
    QString letters = "12a";
    int position = 0;
    EXPECT_EQ(commId->validator()->validate(letters, position), QValidator::Invalid);
}

TEST_F(MainFormTest, MenuCaptionAndFrameStyle) {
    Start();
    CMainFrame& frame = app->Frame();
    EXPECT_EQ(frame.windowTitle(), "VK930Config - Untitled");
    const QList<QAction*> popups = frame.menuBar()->actions();
    ASSERT_EQ(popups.size(), 3);
    EXPECT_EQ(popups[0]->text(), "&File");
    EXPECT_EQ(popups[1]->text(), "COM port");
    EXPECT_EQ(popups[2]->text(), "Tools");
    QStringList fileItems;
    for (QAction* item : popups[0]->menu()->actions())
        fileItems << (item->isSeparator() ? "-" : item->text() + "=" + item->data().toString());
    EXPECT_EQ(fileItems,
              QStringList({"&Open Configuration File...=57601", "FirmWare update...=32771", "-",
                           "&About VK930Config...=57664", "E&xit=57665"}));
    const QList<QAction*> ports = popups[1]->menu()->actions();
    ASSERT_EQ(ports.size(), 10);  // COM1 to COM8, a separator, "Devices..."
    emit popups[1]->menu()->aboutToShow();
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(ports[i]->text(), QString("COM%1").arg(i + 1));
        EXPECT_EQ(ports[i]->data().toInt(), 32773 + i);
        // The port in use carries the check mark; the others show no empty box.
        EXPECT_EQ(ports[i]->isCheckable(), i == 0);
    }
    EXPECT_TRUE(ports[8]->isSeparator());
    EXPECT_EQ(ports[9]->text(), "Devices...");
    EXPECT_FALSE(ports[9]->isCheckable());
    EXPECT_FALSE(frame.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(frame.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(frame.findChildren<QStatusBar*>().isEmpty());
    EXPECT_TRUE(frame.findChildren<QToolBar*>().isEmpty());
}

TEST_F(MainFormTest, ComPortCheckMarkFollowsTheChoiceAndTheChoiceIsSaved) {
    Start();
    QMenu* menu = app->Frame().ComPortMenu();
    auto checkedPorts = [&] {
        emit menu->aboutToShow();
        QStringList checked;
        for (QAction* item : menu->actions())
            if (item->isChecked()) checked << item->text();
        return checked;
    };
    EXPECT_EQ(checkedPorts(), QStringList{"COM1"});
    app->Frame().MenuCommand(id::kCmdComPort1 + 4)->trigger();
    EXPECT_EQ(ReadSetting("ComPort").toInt(), 5);
    EXPECT_EQ(checkedPorts(), QStringList{"COM5"});
    app->Frame().MenuCommand(id::kCmdComPort1 + 4)->trigger();  // the checked one again
    EXPECT_EQ(checkedPorts(), QStringList{"COM5"});
    app->State().comPort = 2;  // as the Get dialog sets it, without saving
    EXPECT_EQ(checkedPorts(), QStringList{"COM2"});
    EXPECT_EQ(ReadSetting("ComPort").toInt(), 5);
}

TEST_F(MainFormTest, ReadDeviceInfoFillsTheFieldsAndTheLog) {
    Start();
    Click(id::kReadDeviceInfoButton);
    EXPECT_EQ(TextOf(id::kType), "KD04010003");
    EXPECT_EQ(TextOf(id::kVersion), "1.4");
    EXPECT_EQ(TextOf(id::kScanner), "SE923");
    EXPECT_EQ(TextOf(id::kRfid), "No RFID");
    EXPECT_EQ(TextOf(id::kColor), "Gray");
    EXPECT_EQ(TextOf(id::kDisplay), "Gray 120x64");
    EXPECT_EQ(TextOf(id::kCommId), "1");
    EXPECT_EQ(Log(), (std::vector<LogEntry>{{"Open COM1", 2},
                                            {"Searching VK930 device..", 2},
                                            {"Reading Info OK", 2},
                                            {"Reading eeprom Page:0...", 2},
                                            {"Reading info...", 2},
                                            {"Done", 1}}));
    EXPECT_EQ(sleeps, std::vector<int>{300});
    // Each kind has its own picture; the image index is the kind.
    const LogModel& model = app->Form().Log().Model();
    const auto icon = [&](int row) {
        return model.data(model.index(row), Qt::DecorationRole).value<QPixmap>().toImage();
    };
    EXPECT_FALSE(icon(0).isNull());
    EXPECT_EQ(icon(0).size(), QSize(16, 16) * icon(0).devicePixelRatio());
    EXPECT_NE(icon(0), icon(5));
}

TEST_F(MainFormTest, NoTerminalOnThePortLogsTheFailureAndKeepsTheFields) {
    WindowOptions options;
    options.link = "sim?absent";
    Start(options);
    Click(id::kReadDeviceInfoButton);
    EXPECT_EQ(Log(), (std::vector<LogEntry>{{"Open COM1", 2},
                                            {"Searching VK930 device..", 2},
                                            {"Connection Failure", 0},
                                            {"Cannot Read Info from COM1", 0}}));
    EXPECT_EQ(TextOf(id::kType), "");
}

TEST_F(MainFormTest, CommIdControlsWithoutEditPermission) {
    Start();
    EXPECT_TRUE(qobject_cast<QLineEdit*>(Control(id::kCommId))->isReadOnly());
    EXPECT_TRUE(Control(id::kSetCommIdButton)->isHidden());
    EXPECT_TRUE(Control(id::kNextCommIdButton)->isHidden());
    EXPECT_TRUE(Control(id::kNextCommIdLabel)->isHidden());
    Click(id::kReadDeviceInfoButton);
    // The offer follows the edit's content, whatever the permission.
    EXPECT_FALSE(Control(id::kNextCommIdButton)->isHidden());
    EXPECT_FALSE(Control(id::kNextCommIdLabel)->isHidden());
    EXPECT_EQ(TextOf(id::kNextCommIdButton), "2");
    EXPECT_TRUE(Control(id::kSetCommIdButton)->isHidden());
}

TEST_F(MainFormTest, CommIdControlsWithEditPermissionAndTyping) {
    WriteSetting("AllowEditSno", 1);
    Start();
    auto* edit = qobject_cast<QLineEdit*>(Control(id::kCommId));
    EXPECT_FALSE(edit->isReadOnly());
    EXPECT_FALSE(Control(id::kSetCommIdButton)->isHidden());
    EXPECT_EQ(edit->text(), "10000");
    EXPECT_EQ(ReadSetting("commID").toInt(), 10000);
    EXPECT_EQ(TextOf(id::kNextCommIdButton), "10001");

    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_TRUE(Control(id::kNextCommIdButton)->isHidden());
    EXPECT_TRUE(Control(id::kNextCommIdLabel)->isHidden());
    QTest::keyClicks(edit, "3x00");  // the letter is not taken
    EXPECT_EQ(edit->text(), "300");
    EXPECT_FALSE(Control(id::kNextCommIdButton)->isHidden());
    EXPECT_EQ(TextOf(id::kNextCommIdButton), "301");
    EXPECT_EQ(app->View().Form().Text(id::kCommId), "300");
}

TEST_F(MainFormTest, NextCommIdButtonWritesTheOfferedIdIntoTheTerminal) {
    WriteSetting("AllowEditSno", 1);
    Start();
    Click(id::kNextCommIdButton);
    EXPECT_EQ(TextOf(id::kCommId), "10001");  // read back from the terminal
    EXPECT_EQ(TextOf(id::kNextCommIdButton), "10002");
    EXPECT_EQ(ReadSetting("commID").toInt(), 10001);
    EXPECT_EQ(sleeps, (std::vector<int>{4000, 300}));
    const std::vector<LogEntry> log = Log();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[3], (LogEntry{"commID written successful. Resetting...", 2}));
    EXPECT_EQ(log.back(), (LogEntry{"Done", 1}));
}

// With a shared registry the shop's counter is on the server; the button counts on this bench
// alone and would hand out IDs another bench hands out too.
// The next-ID button reserves from the shared registry as vk930ctl does; a registry that cannot
// be reached numbers nothing (counting on in the settings would hand out IDs twice).
TEST_F(MainFormTest, NextCommIdButtonNumbersNothingWhenTheSharedRegistryCannotBeReached) {
    const std::string registry = "postgresql://tech@%2Fnonexistent-socket-folder/shop";
    WriteSetting("AllowEditSno", 1);
    WriteSetting("Registry", ToQ(registry));
    Start();
    const size_t entries = Log().size();
    std::vector<MessageBoxSeen> boxes;
    ModalAnswerer answerer({AcceptMessageBox(boxes)});
    Click(id::kNextCommIdButton);
    ASSERT_EQ(Log().size(), entries + 1);
    EXPECT_EQ(Log().back().kind, 0);
    EXPECT_EQ(Log().back().text.rfind("Cannot record the CommID: cannot reserve an ID: the "
                                      "registry " +
                                          registry,
                                      0),
              0u)
        << Log().back().text;
    EXPECT_EQ(ReadSetting("commID").toInt(), 10000);
    EXPECT_EQ(TextOf(id::kCommId), "10000");

    // A typed ID is the technician's own choice and is written.
    auto* edit = qobject_cast<QLineEdit*>(Control(id::kCommId));
    edit->selectAll();
    QTest::keyClicks(edit, "4242");
    Click(id::kSetCommIdButton);
    EXPECT_EQ(TextOf(id::kCommId), "4242");  // read back from the terminal
}

TEST_F(MainFormTest, OperationLogListKeepsTheNewestEntryInView) {
    Start();
    OperationLogView& log = app->Form().Log();
    EXPECT_EQ(log.model()->columnCount(), 1);
    // 280 pixels at the template font's base of 6, scaled as dialog units are.
    const int baseX = app->Form().Units().baseX;
    EXPECT_EQ(log.horizontalHeader()->sectionSize(0), (280 * baseX + 3) / 6);
    EXPECT_TRUE(log.verticalHeader()->isHidden());
    EXPECT_EQ(log.model()->headerData(0, Qt::Horizontal).toString(), "Status");
    EXPECT_EQ(log.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_FALSE(log.isSortingEnabled());

    for (int i = 0; i < 500; ++i) app->Host().AppendLog("entry " + std::to_string(i), i % 3);
    ProcessEventsFor(50);
    log.verticalScrollBar()->setValue(0);  // the user scrolled up
    app->Host().AppendLog("", 0);          // an entry with an icon and no text
    app->Host().AppendLog("odd kind", 7);  // no image has that index
    ProcessEventsFor(50);
    const QModelIndex newest = log.model()->index(501, 0);
    EXPECT_TRUE(log.viewport()->rect().contains(log.visualRect(newest)));
    EXPECT_EQ(Log()[500], (LogEntry{"", 0}));
    EXPECT_FALSE(log.model()->data(log.model()->index(500, 0), Qt::DecorationRole).isNull());
    EXPECT_TRUE(log.model()->data(newest, Qt::DecorationRole).isNull());

    Click(id::kClearListButton);
    EXPECT_EQ(log.model()->rowCount(), 0);
    Click(id::kClearListButton);  // on an empty list
    app->Host().AppendLog("again", 1);
    EXPECT_EQ(Log(), (std::vector<LogEntry>{{"again", 1}}));
    EXPECT_EQ(log.model()->columnCount(), 1);
}

}  // namespace
}  // namespace vk930::test
