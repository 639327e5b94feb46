#include "platform/qsettings_backend.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "core/settings/registry_key.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

// Tests that run side by side must never share the user's settings file or profile.
TEST(QSettingsBackend, TheDefaultFileOfATestIsInFoldersOfItsOwnProcess) {
    const std::string own = "/vk930-home-" + std::to_string(getpid()) + "-";
    const std::string path = DefaultSettingsPath().toStdString();
    EXPECT_NE(path.find(own), std::string::npos) << path;
    for (const char* variable :
         {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_RUNTIME_DIR"}) {
        const char* folder = std::getenv(variable);
        ASSERT_NE(folder, nullptr) << variable;
        EXPECT_NE(std::string(folder).find(own), std::string::npos) << variable << "=" << folder;
        EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
    }
}

TEST(QSettingsBackend, StoresNumbersInTheFileAndReadsThemBack) {
    TempDir dir;
    QSettingsBackendFactory factory(QString::fromStdString(dir.File("sub/vk.ini")));
    FakeHost host;
    {
        CRegistryKey key(factory, host);
        ASSERT_TRUE(key.IsOpen());
        EXPECT_EQ(key.ReadValue("ComPort", 1), 1);
        EXPECT_TRUE(key.WriteValue("commID", 300));
    }
    CRegistryKey again(factory, host);
    EXPECT_EQ(again.ReadValue("ComPort", 7), 1);
    EXPECT_EQ(again.ReadValue("commID", 0), 300);
    EXPECT_NE(ReadFile(dir.File("sub/vk.ini")).find("commID=300"), std::string::npos);
}

TEST(QSettingsBackend, GarbageValuesCountAsMissing) {
    TempDir dir;
    WriteFile(dir.File("vk.ini"),
              "[General]\nComPort=abc\ncommID=99999999999\nAllowEditSno=1\n"
              "Device2=sim:/tmp/x.bin\n");
    QSettingsBackendFactory factory(QString::fromStdString(dir.File("vk.ini")));
    FakeHost host;
    CRegistryKey key(factory, host);
    EXPECT_EQ(key.ReadValue("ComPort", 1), 1);
    EXPECT_EQ(key.ReadValue("commID", 10000), 10000);
    EXPECT_EQ(key.ReadValue("AllowEditSno", 0), 1);
    auto backend = factory.Make();
    ASSERT_EQ(backend->Open(), 0);
    EXPECT_EQ(backend->QueryText("Device2"), "sim:/tmp/x.bin");
    EXPECT_EQ(backend->QueryText("Device3"), std::nullopt);
}

TEST(QSettingsBackend, UnwritableFileIsAccessDenied) {
    if (geteuid() == 0) GTEST_SKIP() << "root may write anything";
    TempDir dir;
    WriteFile(dir.File("vk.ini"), "");
    chmod(dir.File("vk.ini").c_str(), 0444);
    QSettingsBackendFactory factory(QString::fromStdString(dir.File("vk.ini")));
    EXPECT_EQ(factory.Make()->Open(), 5);
}

TEST(QSettingsBackend, ACounterThatCannotBeKeptSaysWhy) {
    TempDir dir;
    WriteFile(dir.File("file"), "");
    const std::string path = dir.File("file/vk.ini");  // its folder is a file: never written
    QSettingsBackendFactory factory(QString::fromStdString(path));
    Result<std::int32_t> read = ReadKeepableValue(factory, "commID", 10000);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error(), "settings file '" + path + "' cannot be written");
    EXPECT_EQ(KeepValue(factory, "commID", 5).error(), read.error());

    WriteFile(dir.File("vk.ini"), "[General]\ncommID=12x\n");
    QSettingsBackendFactory garbage(QString::fromStdString(dir.File("vk.ini")));
    EXPECT_EQ(ReadKeepableValue(garbage, "commID", 10000).error(),
              "the stored \"commID\" is not a number: '12x'");
    QSettingsBackendFactory fresh(QString::fromStdString(dir.File("new.ini")));
    Result<std::int32_t> first = ReadKeepableValue(fresh, "commID", 10000);
    ASSERT_TRUE(first.ok()) << first.error();
    EXPECT_EQ(first.value(), 10000);
    EXPECT_NE(ReadFile(dir.File("new.ini")).find("commID=10000"), std::string::npos);
}

TEST(QSettingsBackend, FolderInsteadOfFileIsAnError) {
    TempDir dir;
    QSettingsBackendFactory factory(QString::fromStdString(dir.Path().string()));
    FakeHost host;
    CRegistryKey key(factory, host);
    EXPECT_FALSE(key.IsOpen());
    ASSERT_FALSE(host.boxes.empty());
    EXPECT_EQ(host.boxes.back().second, "RegCreateEx FAIL");
}

TEST(QSettingsBackend, FilesThatAreNoSettingsFilesAreNamedAndLeftAlone) {
    TempDir dir;
    std::string binary;
    for (int i = 0; i < 3000; ++i) binary += static_cast<char>((i * 7919) % 256);
    WriteFile(dir.File("binary.ini"), binary);
    WriteFile(dir.File("broken.ini"), "[General]\nComPort=3\na line without an equals sign\n");
    WriteFile(dir.File("params.pcg"), "HEADING:Shop\r\nSLEEP:45\r\nEND\r\n");
    WriteFile(dir.File("huge.ini"), "");
    std::filesystem::resize_file(dir.File("huge.ini"), 100u << 20);  // sparse: nothing written
    struct Case {
        std::string path;
        int error;
        const char* problem;
    };
    const std::vector<Case> cases = {
        {dir.File("binary.ini"), EINVAL, "not an INI settings file"},
        {dir.File("broken.ini"), EINVAL, "not an INI settings file"},
        {dir.File("params.pcg"), EINVAL, "not an INI settings file"},
        {dir.File("huge.ini"), EFBIG, "larger than 1 MiB"},
        {"/dev/zero", EINVAL, "not an INI settings file"},
        {dir.Path().string(), EISDIR, "is a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const bool file = c.path != "/dev/zero" && c.path != dir.Path().string();
        const std::string before = file ? ReadFile(c.path) : "";
        const QString path = QString::fromStdString(c.path);
        EXPECT_EQ(CheckSettingsFile(path), c.error);
        EXPECT_NE(SettingsFileProblem(c.error).find(c.problem), std::string::npos);
        QSettingsBackendFactory factory(path);
        FakeHost host;
        {
            CRegistryKey key(factory, host);
            EXPECT_FALSE(key.IsOpen());
            EXPECT_EQ(key.ReadValue("ComPort", 1), 0);
            EXPECT_FALSE(key.WriteValue("commID", 300));
        }
        ASSERT_FALSE(host.boxes.empty());
        EXPECT_EQ(host.boxes.back(), (std::pair<std::string, std::string>{std::to_string(c.error),
                                                                          "RegCreateEx FAIL"}));
        if (file) {
            EXPECT_EQ(ReadFile(c.path), before);  // nothing of it lost
        }
    }
}

TEST(QSettingsBackend, AMissingFileIsFineAndCreatedWhenWritten) {
    TempDir dir;
    EXPECT_EQ(CheckSettingsFile(QString::fromStdString(dir.File("new/vk.ini"))), 0);
    WriteFile(dir.File("empty.ini"), "");
    EXPECT_EQ(CheckSettingsFile(QString::fromStdString(dir.File("empty.ini"))), 0);
}

}  // namespace
}  // namespace vk930::test
