#include <gtest/gtest.h>

#include "support/link_fixture.h"

namespace vk930::test {
namespace {

const std::string kFirmware = VK930_FIRMWARE_DATA_DIR "/hsbt15.a20";

// Firmware uploads through the boot loader on both links: the same statuses for each step
// that fails, and the same terminal afterwards.
class FirmwareOverLinksTest : public BothLinksFixture {
  protected:
    void SetUp() override { bootFiles = {VK930_BOOT_DIR}; }
    Short Upload(const std::string& options) {
        UseTerminal(options);
        Link().Connect(1, kBaudBootLoader);
        const Short status = Link().UploadFirmware(kFirmware);
        Link().Connect(0, kBaudBootLoader);
        return status;
    }
};

TEST_P(FirmwareOverLinksTest, UploadInstallsTheImageAndItsVersion) {
    std::vector<std::size_t> progress;
    UseTerminal("");
    Link().SetUploadProgress([&](std::size_t sent, std::size_t) { progress.push_back(sent); });
    ASSERT_TRUE(Link().Connect(1, kBaudBootLoader));
    EXPECT_EQ(Link().UploadFirmware(kFirmware), kUploadSucceeded);
    Link().Connect(0, kBaudBootLoader);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), 0u);
    // A fresh model on the state file sees what the upload left.
    Result<LinkSpec> spec = ParseLinkSpec("sim:" + StateFile());
    auto after = std::move(TerminalModel::Create(spec->sim).value());
    EXPECT_EQ(after->Version(), "15");
    EXPECT_EQ(after->Firmware().ByteCount(), progress.back());
    // The terminal answers at 19200 again, with its new version.
    ASSERT_TRUE(Link().Connect(1, kBaudApplication));
    EXPECT_EQ(Link().ReadInfo(), 1);
    EXPECT_EQ(Link().GetVersionText(), "15");
}

TEST_P(FirmwareOverLinksTest, EachFailingStepGivesItsStatus) {
    const std::pair<const char*, Short> cases[] = {{"boot=no00", kUploadNoZero},
                                                   {"boot=noAA", kUploadNoAA},
                                                   {"boot=stage1", kUploadStage1Failed},
                                                   {"boot=stage2", kUploadStage2Failed},
                                                   {"boot=stage3", kUploadStage3Failed},
                                                   {"boot=verify", kUploadVerifyFailed},
                                                   {"absent", kUploadNoZero}};
    for (const auto& [options, status] : cases) EXPECT_EQ(Upload(options), status) << options;
    EXPECT_EQ(Terminal().Version(), "14");
}

TEST_P(FirmwareOverLinksTest, NoBootLoaderAnswersAt19200AndFilesAreCheckedFirst) {
    UseTerminal("");
    ASSERT_TRUE(Link().Connect(1, kBaudApplication));
    EXPECT_EQ(Link().UploadFirmware(kFirmware), kUploadNoZero);
    Link().Connect(1, kBaudClose);
    ASSERT_TRUE(Link().Connect(1, kBaudBootLoader));
    EXPECT_EQ(Link().UploadFirmware(StateFile()), kUploadFirmwareFileBad);
    Link().Connect(1, kBaudClose);
    bootFiles = {"/nonexistent"};  // and the tests' working folder has no boot file
    EXPECT_EQ(Upload(""), kUploadBootFileBad);
}

INSTANTIATE_TEST_SUITE_P(Links, FirmwareOverLinksTest, BothLinks(), LinkKindName);

}  // namespace
}  // namespace vk930::test
