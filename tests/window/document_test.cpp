// The document in the window: Open from the menu, the accelerators, the command line and a
// drop; New; the "File:" field; the recent files; the program's end.
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "core/forms/form_ids.h"
#include "core/forms/menu_template.h"
#include "window/main_form.h"
#include "window/main_frame.h"
#include "window/text.h"
#include "window_fixture.h"

namespace vk930::test {
namespace {

class DocumentTest : public WindowTest {
  protected:
    // Presses a key on the shown, active window.
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        app->Frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&app->Frame()));
        QTest::keyClick(&app->Frame(), static_cast<Qt::Key>(key), modifiers);
    }
    QString FileField() { return TextOf(id::kFilePath); }
    // Runs the program's event loop, does `action` in it and returns the loop's exit code:
    // 0 when the program ended, 99 when it still ran a few seconds later.
    int RunUntilTheProgramEnds(std::function<void()> action) {
        QTimer::singleShot(0, action);
        QTimer watchdog;
        watchdog.callOnTimeout([] { QApplication::exit(99); });
        watchdog.start(5000);
        return QApplication::exec();
    }
    QStringList RecentFiles() {
        RecentFileList recent(kProfileKey, kProfileName, kRecentFileCount);
        return recent.Files();
    }
};

TEST_F(DocumentTest, OpenWithCtrlOShowsTheFileAfterTheFormTimer) {
    Start();
    const QString path = MakeFile("terminal one.pcg", "HEADING:x\nEND\n");
    QStringList filters;
    ModalAnswerer answerer({Inspect(
        [&](QWidget* dialog) { filters = qobject_cast<QFileDialog*>(dialog)->nameFilters(); },
        PickFile(path))});
    Press(Qt::Key_O);
    ASSERT_TRUE(
        WaitUntil([&] { return answerer.Answered() == 1 && app->Host().FormTimerPending(); }));
    EXPECT_EQ(filters, QStringList({"VK930C Files (*.pcg)", "All Files (*)"}));
    EXPECT_EQ(app->Frame().windowTitle(), "VK930Config - terminal one.pcg");
    EXPECT_EQ(app->State().document.m_strFilePath, ToStd(path));
    EXPECT_EQ(app->State().document.m_nFileOpened, 1);
    EXPECT_EQ(FileField(), "");  // shown by the timer, about 300 ms later
    ASSERT_TRUE(WaitUntil([&] { return FileField() == path; }, 2000));
    EXPECT_TRUE(RecentFiles().contains(path));
}

TEST_F(DocumentTest, OpenTwiceThenNewKeepsTheFieldAndOneWindow) {
    Start();
    const QString path = MakeFile("empty.pcg");
    ASSERT_TRUE(app->OpenDocumentFile(path));
    ASSERT_TRUE(app->OpenDocumentFile(path));  // zero-length and opened twice: both succeed
    ASSERT_TRUE(WaitUntil([&] { return FileField() == path; }));
    Press(Qt::Key_N);
    EXPECT_EQ(app->State().document.m_strFilePath, "");
    EXPECT_EQ(app->State().document.m_nFileOpened, 0);
    EXPECT_EQ(app->Frame().windowTitle(), "VK930Config - Untitled");
    ASSERT_TRUE(WaitUntil([&] { return !app->Host().FormTimerPending(); }));
    EXPECT_EQ(FileField(), path);  // the timer writes the field only for an opened file
    EXPECT_EQ(app->Form().Log().model()->columnCount(), 1);
    EXPECT_EQ(QApplication::topLevelWidgets().count(&app->Frame()), 1);
}

TEST_F(DocumentTest, FailedOpenShowsABoxAndChangesNothing) {
    Start();
    const QString good = MakeFile("good.pcg");
    ASSERT_TRUE(app->OpenDocumentFile(good));
    std::vector<MessageBoxSeen> boxes;
    ModalAnswerer answerer({AcceptMessageBox(boxes)});
    EXPECT_FALSE(app->OpenDocumentFile(ToQ(dir.File("missing.pcg"))));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "VK930Config");
    EXPECT_TRUE(boxes[0].text.contains("missing.pcg"));
    EXPECT_EQ(app->State().document.m_strFilePath, ToStd(good));
    EXPECT_EQ(app->State().document.m_nFileOpened, 1);
    EXPECT_EQ(app->Frame().windowTitle(), "VK930Config - good.pcg");
}

TEST_F(DocumentTest, DroppedFileIsOpened) {
    Start();
    const QString path = MakeFile("dropped.pcg");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&app->Frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&app->Frame(), &drop);
    EXPECT_EQ(app->State().document.m_strFilePath, ToStd(path));
    EXPECT_EQ(app->Frame().windowTitle(), "VK930Config - dropped.pcg");
}

TEST_F(DocumentTest, SaveAndEditAcceleratorsNeverTouchTheFile) {
    Start();
    const QString path = MakeFile("keep.pcg", "SLEEP:30\nEND\n");
    const QDateTime modified = QFileInfo(path).lastModified();
    ASSERT_TRUE(app->OpenDocumentFile(path));
    for (int key : {Qt::Key_S, Qt::Key_Z, Qt::Key_X, Qt::Key_C, Qt::Key_V}) Press(key);
    Press(Qt::Key_F6, Qt::NoModifier);
    ProcessEventsFor(50);
    EXPECT_EQ(ToQ(ReadFile(ToStd(path))), "SLEEP:30\nEND\n");
    EXPECT_EQ(QFileInfo(path).lastModified(), modified);
    EXPECT_TRUE(app->Frame().isVisible());
}

TEST_F(DocumentTest, CloseButtonEndsTheProgramWithoutAsking) {
    Start();
    ASSERT_TRUE(app->OpenDocumentFile(MakeFile("open.pcg")));
    ModalAnswerer answerer;  // there must be no question
    EXPECT_EQ(RunUntilTheProgramEnds([&] { Click(id::kCloseButton); }), 0);
    EXPECT_FALSE(app->Frame().isVisible());
    EXPECT_EQ(answerer.Unexpected(), 0);
}

TEST_F(DocumentTest, ExitAndTheCloseBoxEndTheProgram) {
    Start();
    EXPECT_EQ(RunUntilTheProgramEnds([&] { app->Frame().MenuCommand(id::kCmdExit)->trigger(); }),
              0);
    app.reset();
    Start();
    EXPECT_EQ(RunUntilTheProgramEnds([&] { app->Frame().close(); }), 0);
}

TEST_F(DocumentTest, FileOnTheCommandLineIsOpenedAtStart) {
    WindowOptions options;
    options.file = MakeFile("start.pcg");
    Start(options);
    EXPECT_EQ(app->Frame().windowTitle(), "VK930Config - start.pcg");
    EXPECT_TRUE(WaitUntil([&] { return FileField() == options.file; }));
}

TEST_F(DocumentTest, FileOnTheCommandLineThatCannotBeOpenedEndsTheStart) {
    WindowOptions options;
    options.file = ToQ(dir.File("absent.pcg"));
    Make(options);
    std::vector<MessageBoxSeen> boxes;
    ModalAnswerer answerer({AcceptMessageBox(boxes)});
    EXPECT_FALSE(app->InitInstance());
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(app->Frame().isVisible());
}

TEST_F(DocumentTest, EditWithNotepadStartsTheEditorWithThePathAsOneArgument) {
    const QString out = ToQ(dir.File("editor-args"));
    // The configured editor is a program that writes down the argument it was given.
    WriteSetting("Editor", QString("/bin/sh -c 'printf \"[%s]\" \"$1\" > \"%1\"' editor").arg(out));
    Start();
    const QString path = MakeFile("odd name; $(touch gotcha) 'q'.pcg");
    ASSERT_TRUE(app->OpenDocumentFile(path));
    Click(id::kEditWithNotepadButton);
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo(out).size() > 0; }));
    EXPECT_EQ(ToQ(ReadFile(ToStd(out))), "[" + path + "]");
    EXPECT_FALSE(QFileInfo::exists(ToQ(dir.File("gotcha"))));

    QFile::remove(out);
    Press(Qt::Key_N);
    Click(id::kEditWithNotepadButton);  // no file: the editor alone
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo::exists(out); }));
    EXPECT_TRUE(WaitUntil([&] { return ReadFile(ToStd(out)) == "[]"; }));
}

}  // namespace
}  // namespace vk930::test
