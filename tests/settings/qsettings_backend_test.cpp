#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "settings/qsettings_backend.h"
#include "settings/registry_key.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

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
    WriteFile(dir.File("vk.ini"), "[General]\nComPort=abc\ncommID=99999999999\nAllowEditSno=1\n"
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

TEST(QSettingsBackend, FolderInsteadOfFileIsAnError) {
    TempDir dir;
    QSettingsBackendFactory factory(QString::fromStdString(dir.Path().string()));
    FakeHost host;
    CRegistryKey key(factory, host);
    EXPECT_FALSE(key.IsOpen());
    ASSERT_FALSE(host.boxes.empty());
    EXPECT_EQ(host.boxes.back().second, "RegCreateEx FAIL");
}

}  // namespace
}  // namespace vk930::test
