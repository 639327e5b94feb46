// The shell around the window: the editor choice, the file-type registration, the hand-over
// of a file to a running window, the command line and the recent-file list.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSignalSpy>
#include <QUrl>

#include "modal_answerer.h"
#include "support/temp_dir.h"
#include "window/command_line.h"
#include "window/editor_launcher.h"
#include "window/file_types.h"
#include "window/recent_files.h"
#include "window/shell_open.h"
#include "window/text.h"

namespace vk930::test {
namespace {

TEST(EditorChoice, SplitsCommandLinesLikeTheDesktopWithoutAShell) {
    EXPECT_EQ(SplitCommandLine("code --wait"), QStringList({"code", "--wait"}));
    EXPECT_EQ(SplitCommandLine(R"("/opt/My Editor/edit" -x  'a b' c\ d)"),
              QStringList({"/opt/My Editor/edit", "-x", "a b", "c d"}));
    EXPECT_EQ(SplitCommandLine(R"(sh -c "echo \"\$x\"")"),
              QStringList({"sh", "-c", "echo \"$x\""}));
    EXPECT_EQ(SplitCommandLine(R"(empty "" arg)"), QStringList({"empty", "", "arg"}));
    EXPECT_TRUE(SplitCommandLine("   ").isEmpty());
}

TEST(EditorChoice, FollowsTheOrderAndPutsThePathWhereTheFieldCodeIs) {
    const QString path = "/data/odd name; $(x) 'q'.pcg";
    EditorChoices choices;
    choices.configured = "gedit --new-window";
    choices.visual = "kate";
    choices.desktopExec = "mousepad %U";
    EXPECT_EQ(ChooseEditor(choices, path), (EditorCommand{"gedit", {"--new-window", path}}));
    choices.configured = "";
    EXPECT_EQ(ChooseEditor(choices, path), (EditorCommand{"kate", {path}}));
    choices.visual = "vim";  // needs a terminal: skipped
    choices.editor = "/usr/bin/nano";
    EXPECT_EQ(ChooseEditor(choices, path),
              (EditorCommand{"mousepad", {QUrl::fromLocalFile(path).toString()}}));
    choices.desktopExec = "gnome-text-editor %f --standalone";
    EXPECT_EQ(ChooseEditor(choices, path),
              (EditorCommand{"gnome-text-editor", {path, "--standalone"}}));
    choices.desktopExec = "";
    choices.installed = {"pluma", "geany"};
    EXPECT_EQ(ChooseEditor(choices, path), (EditorCommand{"pluma", {path}}));
    choices.installed.clear();
    EXPECT_EQ(ChooseEditor(choices, path), std::nullopt);
}

TEST(EditorChoice, WithoutAFileTheEditorStartsAlone) {
    EXPECT_EQ(CommandFor("mousepad %U", ""), (EditorCommand{"mousepad", {}}));
    EXPECT_EQ(CommandFor("gedit", ""), (EditorCommand{"gedit", {}}));
    EXPECT_EQ(CommandFor("xed --icon %i %% %f", "/a.pcg"),
              (EditorCommand{"xed", {"--icon", "%", "/a.pcg"}}));
    EXPECT_TRUE(IsTerminalEditor("/usr/bin/vi"));
    EXPECT_FALSE(IsTerminalEditor("gedit"));
}

TEST(FileTypes, RegistrationIsWrittenOnceAndAgainOnlyWhenItChanges) {
    TempDir dir;
    const QString home = ToQ(dir.Path().string());
    const QString program = "/opt/vk930 tools/vk930config";
    const auto files = FileTypeRegistration(home, program);
    EXPECT_EQ(WriteChangedFiles(files).size(), files.size());
    EXPECT_TRUE(WriteChangedFiles(files).empty());  // nothing differs: nothing written

    const QString mime = ToQ(ReadFile(dir.File("mime/packages/vk930config.xml")));
    EXPECT_TRUE(mime.contains(R"(<mime-type type="application/x-vk930c">)"));
    EXPECT_TRUE(mime.contains(R"(<glob pattern="*.pcg"/>)"));
    EXPECT_TRUE(mime.contains("<comment>VK930C Document</comment>"));
    EXPECT_TRUE(mime.contains(R"(<icon name="application-x-vk930c"/>)"));
    const QString desktop = ToQ(ReadFile(dir.File("applications/vk930config.desktop")));
    EXPECT_TRUE(desktop.contains("Exec=\"/opt/vk930 tools/vk930config\" %f\n"));
    EXPECT_TRUE(desktop.contains("MimeType=application/x-vk930c;\n"));
    EXPECT_TRUE(
        QFileInfo(home + "/icons/hicolor/scalable/mimetypes/application-x-vk930c.svg").size() > 0);

    const auto moved = FileTypeRegistration(home, "/usr/bin/vk930config");
    const std::vector<QString> written = WriteChangedFiles(moved);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_TRUE(written[0].endsWith("vk930config.desktop"));
}

// What the package installs system-wide is what the window would write for the user.
TEST(FileTypes, ThePackagedFilesMatchTheUsersRegistration) {
    const QString data = QStringLiteral(VK930_SOURCE_DIR "/data/");
    const auto files = FileTypeRegistration("/home", "/usr/bin/vk930config");
    EXPECT_EQ(ToQ(ReadFile(ToStd(data + "vk930config.xml"))).toUtf8(), files[0].content);
    const QString packaged = ToQ(ReadFile(ToStd(data + "vk930config.desktop")));
    for (const QString& line : QString::fromUtf8(files[3].content).split('\n')) {
        if (line.startsWith("Exec=") || line.startsWith("Categories=")) continue;
        EXPECT_TRUE(packaged.contains(line + '\n')) << ToStd(line);
    }
    EXPECT_TRUE(packaged.contains("Exec=vk930config %f\n"));
}

// An installed package registers the type once for everybody; the installed program then
// leaves the user's folder alone, while another copy (a build tree) registers itself.
TEST(FileTypes, ASystemWideRegistrationOfThisProgramIsNotCopiedForTheUser) {
    TempDir system, user, bin;
    const QString self = QCoreApplication::applicationFilePath();
    const QString systemDir = ToQ(system.Path().string());
    const auto entries = FileTypeRegistration(systemDir, self);
    WriteChangedFiles({entries[3]});  // the desktop entry alone is not enough
    EXPECT_FALSE(RegisteredSystemWide({systemDir}, self));
    WriteChangedFiles(entries);
    EXPECT_TRUE(RegisteredSystemWide({"/nonexistent", systemDir}, self));
    EXPECT_FALSE(RegisteredSystemWide({systemDir}, "/usr/bin/true"));

    // Exec by name, found on PATH, as the packaged entry has it.
    QFile::link(self, ToQ(bin.File("vk930config")));
    WriteFile(system.File("applications/vk930config.desktop"),
              "[Desktop Entry]\nExec=vk930config %f\n");
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", ToQ(bin.Path().string()).toUtf8() + ':' + path);
    EXPECT_TRUE(RegisteredSystemWide({systemDir}, self));
    qputenv("PATH", path);
    EXPECT_FALSE(RegisteredSystemWide({systemDir}, self)) << "another vk930config on PATH";

    const QByteArray dataHome = qgetenv("XDG_DATA_HOME"), dataDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_HOME", ToQ(user.Path().string()).toUtf8());
    WriteChangedFiles(entries);
    qputenv("XDG_DATA_DIRS", systemDir.toUtf8());
    RegisterShellFileTypes();
    EXPECT_FALSE(QFileInfo::exists(ToQ(user.File("applications/vk930config.desktop"))));
    qputenv("XDG_DATA_DIRS", "/usr/share");
    RegisterShellFileTypes();
    EXPECT_TRUE(QFileInfo::exists(ToQ(user.File("applications/vk930config.desktop"))));
    qputenv("XDG_DATA_HOME", dataHome);
    qputenv("XDG_DATA_DIRS", dataDirs);
}

TEST(FileTypes, ProgramPathIsQuotedForTheExecLine) {
    EXPECT_EQ(DesktopExecWord("/usr/bin/vk930config"), R"("/usr/bin/vk930config")");
    // Exec quoting escapes " ` $ \ with a backslash; the entry's own escaping doubles it.
    EXPECT_EQ(DesktopExecWord(R"(/o"d$d\x)"), R"("/o\\"d\\$d\\\\x")");
}

TEST(ShellOpen, SecondStartHandsItsFileToTheRunningWindow) {
    TempDir dir;
    const QString socket = ToQ(dir.File("open.sock"));
    EXPECT_FALSE(HandToRunningWindow(socket, "/x.pcg"));  // nobody listens

    WriteFile(dir.File("open.sock"), "left behind");  // a stale socket file is replaced
    ShellOpenServer server;
    ASSERT_TRUE(server.Listen(socket));
    QSignalSpy requests(&server, &ShellOpenServer::openRequested);
    EXPECT_TRUE(HandToRunningWindow(socket, "/data/a file.pcg"));
    ASSERT_TRUE(WaitUntil([&] { return requests.count() == 1; }));
    EXPECT_EQ(requests[0][0].toString(), "/data/a file.pcg");

    ShellOpenServer second;
    EXPECT_FALSE(second.Listen(socket));  // the running window keeps its socket
    EXPECT_TRUE(HandToRunningWindow(socket, "/data/b.pcg"));
    ASSERT_TRUE(WaitUntil([&] { return requests.count() == 2; }));
}

TEST(ShellOpen, EachSettingsFileHasItsOwnSocket) {
    EXPECT_NE(ShellOpenSocketPath("/a.ini"), ShellOpenSocketPath("/b.ini"));
    EXPECT_EQ(ShellOpenSocketPath("/a.ini"), ShellOpenSocketPath("/a.ini"));
}

TEST(WindowCommandLine, OptionsAndTheFile) {
    Result<WindowOptions> options =
        ParseWindowCommandLine({"vk930config", "--link", "sim:/tmp/t.bin?version=15", "--settings",
                                "/tmp/s.ini", "rel.pcg"});
    ASSERT_TRUE(options.ok()) << options.error();
    EXPECT_EQ(options->link, "sim:/tmp/t.bin?version=15");
    EXPECT_EQ(options->settingsPath, "/tmp/s.ini");
    EXPECT_EQ(options->file, QDir::current().absoluteFilePath("rel.pcg"));
    EXPECT_FALSE(options->exitWhenShown);

    options = ParseWindowCommandLine({"vk930config"});
    ASSERT_TRUE(options.ok());
    EXPECT_FALSE(options->link);
    EXPECT_TRUE(options->file.isEmpty());
    EXPECT_FALSE(ParseWindowCommandLine({"vk930config", "a.pcg", "b.pcg"}).ok());
    EXPECT_FALSE(ParseWindowCommandLine({"vk930config", "--bogus"}).ok());
}

TEST(RecentFiles, KeepsTheLastFourNewestFirst) {
    const QString name = QString("VK930Config-test-%1").arg(QCoreApplication::applicationPid());
    RecentFileList recent("vk930-tests", name, 4);
    for (const char* file : {"/a", "/b", "/c", "/d", "/e"}) recent.Add(file);
    EXPECT_EQ(recent.Files(), QStringList({"/e", "/d", "/c", "/b"}));
    recent.Add("/c");
    EXPECT_EQ(recent.Files(), QStringList({"/c", "/e", "/d", "/b"}));
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "vk930-tests", name).clear();
}

}  // namespace
}  // namespace vk930::test
