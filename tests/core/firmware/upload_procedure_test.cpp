#include "core/firmware/upload_procedure.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/firmware/intel_hex.h"
#include "core/firmware/intel_hex_file.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

namespace fs = std::filesystem;

const std::string kFirmware = VK930_FIRMWARE_DATA_DIR "/hsbt15.a20";
const std::string kBootDir = VK930_BOOT_DIR;

// A boot loader that records every step and refuses the one named in failAt.
class RecordingChannel : public BootLoaderChannel {
  public:
    std::string failAt;
    std::vector<std::string> steps;
    std::vector<std::pair<std::uint32_t, std::size_t>> blocks;
    FirmwareImage boot, written;
    std::string version = "unset";

    bool AwaitReady() override { return Step("AwaitReady"); }
    bool Sync() override { return Step("Sync"); }
    bool SendBootFile(const FirmwareImage& image) override {
        boot = image;
        return Step("SendBootFile");
    }
    bool Erase() override { return Step("Erase"); }
    bool WriteBlock(std::uint32_t address, const std::vector<std::uint8_t>& bytes) override {
        blocks.emplace_back(address, bytes.size());
        if (!written.segments.empty() &&
            written.segments.back().address + written.segments.back().bytes.size() == address)
            written.segments.back().bytes.insert(written.segments.back().bytes.end(), bytes.begin(),
                                                 bytes.end());
        else
            written.segments.push_back({address, bytes});
        return Step("WriteBlock");
    }
    bool Verify(const FirmwareImage&, const std::string& v) override {
        version = v;
        return Step("Verify");
    }

  private:
    bool Step(const std::string& name) {
        if (steps.empty() || steps.back() != name) steps.push_back(name);
        return name != failAt;
    }
};

// Runs each test in an empty working directory of its own.
class UploadProcedure : public ::testing::Test {
  protected:
    UploadProcedure() : previous_(fs::current_path()) { fs::current_path(cwd.Path()); }
    ~UploadProcedure() override { fs::current_path(previous_); }

    Short Upload(const std::string& firmware, const BootFileLookup& lookup = {kBootDir}) {
        return RunUpload(channel, firmware, lookup, [this](std::size_t sent, std::size_t total) {
            progress.emplace_back(sent, total);
        });
    }

    TempDir cwd;
    RecordingChannel channel;
    std::vector<std::pair<std::size_t, std::size_t>> progress;

  private:
    fs::path previous_;
};

TEST_F(UploadProcedure, SendsTheBootFileAndTheImageInAlignedBlocks) {
    EXPECT_EQ(Upload(kFirmware), kUploadSucceeded);
    const std::vector<std::string> steps = {"AwaitReady", "Sync",       "SendBootFile",
                                            "Erase",      "WriteBlock", "Verify"};
    EXPECT_EQ(channel.steps, steps);
    EXPECT_EQ(channel.version, "15");
    EXPECT_EQ(channel.boot, ReadIntelHexFile(kBootDir + "/boot.a20").value());
    EXPECT_EQ(channel.written, ReadIntelHexFile(kFirmware).value());
    for (const auto& [address, size] : channel.blocks) {
        EXPECT_LE(address % kUploadBlockSize + size, kUploadBlockSize) << address;
        EXPECT_GT(size, 0u);
    }
    ASSERT_EQ(progress.size(), channel.blocks.size() + 1);
    EXPECT_EQ(progress.front(), std::make_pair(std::size_t{0}, std::size_t{6656}));
    EXPECT_EQ(progress.back(), std::make_pair(std::size_t{6656}, std::size_t{6656}));
    for (std::size_t i = 1; i < progress.size(); ++i)
        EXPECT_EQ(progress[i].first, progress[i - 1].first + channel.blocks[i - 1].second);
}

TEST_F(UploadProcedure, UnalignedImagesStillGoInBlocksWithinTheBlockSize) {
    FirmwareImage image{{{0x1F0, std::vector<std::uint8_t>(600, 7)}}};
    WriteFile(cwd.File("hsbt2.a20"), WriteIntelHex(image));
    EXPECT_EQ(Upload(cwd.File("hsbt2.a20")), kUploadSucceeded);
    const std::vector<std::pair<std::uint32_t, std::size_t>> blocks = {
        {0x1F0, 16}, {0x200, 256}, {0x300, 256}, {0x400, 72}};
    EXPECT_EQ(channel.blocks, blocks);
}

TEST_F(UploadProcedure, EachRefusedStepEndsTheUploadWithItsStatus) {
    const std::vector<std::pair<std::string, Short>> cases = {
        {"AwaitReady", kUploadNoZero},         {"Sync", kUploadNoAA},
        {"SendBootFile", kUploadStage1Failed}, {"Erase", kUploadStage2Failed},
        {"WriteBlock", kUploadStage3Failed},   {"Verify", kUploadVerifyFailed},
    };
    for (const auto& [step, status] : cases) {
        channel = RecordingChannel{};
        channel.failAt = step;
        EXPECT_EQ(Upload(kFirmware), status) << step;
        EXPECT_EQ(channel.steps.back(), step) << "nothing may follow a refused step";
        if (step == "WriteBlock") {
            EXPECT_EQ(channel.blocks.size(), 1u);
        }
    }
}

TEST_F(UploadProcedure, BadFilesStopTheUploadBeforeTheBootLoaderIsTouched) {
    WriteFile(cwd.File("bad.a20"), ":0100000044BC\n:00000001FF\n");
    WriteFile(cwd.File("empty.a20"), ":00000001FF\n");
    const std::vector<std::pair<std::string, Short>> firmwareCases = {
        {"", kUploadFirmwareFileBad},
        {cwd.File("missing.a20"), kUploadFirmwareFileBad},
        {cwd.File("bad.a20"), kUploadFirmwareFileBad},
        {cwd.File("empty.a20"), kUploadFirmwareFileBad},
        {cwd.Path().string(), kUploadFirmwareFileBad},
    };
    for (const auto& [file, status] : firmwareCases) EXPECT_EQ(Upload(file), status) << file;
    EXPECT_EQ(Upload(kFirmware, {}), kUploadBootFileBad) << "no boot file anywhere";
    EXPECT_EQ(Upload("", {cwd.File("nowhere")}), kUploadBootFileBad) << "the boot file first";
    EXPECT_TRUE(channel.steps.empty());
}

TEST_F(UploadProcedure, TheBootFileInTheWorkingDirectoryComesFirst) {
    WriteFile(cwd.File("boot.a20"), ":0100000077880\n");  // not valid: used, not skipped
    EXPECT_EQ(Upload(kFirmware), kUploadBootFileBad);
    const FirmwareImage own{{{0x40, {1, 2, 3}}}};
    WriteFile(cwd.File("boot.a20"), WriteIntelHex(own));
    EXPECT_EQ(Upload(kFirmware), kUploadSucceeded);
    EXPECT_EQ(channel.boot, own);
    EXPECT_EQ(FindBootFile({kBootDir}), cwd.Path() / "boot.a20");
    fs::remove(cwd.File("boot.a20"));
    EXPECT_EQ(FindBootFile({kBootDir}), fs::path(kBootDir) / "boot.a20");
    EXPECT_EQ(FindBootFile({}), std::nullopt);
}

// An installed program finds the packaged boot file when neither the working directory nor
// its own folder has one; a copy beside the program still wins over the packaged one.
TEST_F(UploadProcedure, TheSystemFolderIsTheLastPlaceLookedAt) {
    TempDir program;
    EXPECT_EQ(FindBootFile({program.Path().string(), kBootDir}), fs::path(kBootDir) / "boot.a20");
    EXPECT_EQ(FindBootFile({"", kBootDir}), fs::path(kBootDir) / "boot.a20");
    WriteFile(program.File("boot.a20"), WriteIntelHex(FirmwareImage{{{0x40, {1}}}}));
    EXPECT_EQ(FindBootFile({program.Path().string(), kBootDir}), program.Path() / "boot.a20");
    EXPECT_EQ(FindBootFile({program.File("nowhere"), program.File("nowhere either")}),
              std::nullopt);
    EXPECT_EQ(Upload(kFirmware, {"", kBootDir}), kUploadSucceeded);
}

TEST(FirmwareVersion, IsTheDigitsAfterHsbtInTheFileName) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"hsbt15.a20", "15"},
        {"/some/dir/hsbt15.a20", "15"},
        {"C:\\FW\\Hsbt21.A20", "21"},
        {"HSBT7.A20", "7"},
        {"hsbt015b.a20", "015"},
        {"fw-hsbt16.a20", "16"},
        {"hsbtx_hsbt17.a20", "17"},
        {"hsbt.a20", ""},
        {"firmware.a20", ""},
        {"/fw/hsbt99/image.a20", ""},
        {"", ""},
    };
    for (const auto& [path, version] : cases)
        EXPECT_EQ(FirmwareVersionFromPath(path), version) << path;
}

}  // namespace
}  // namespace vk930::test
