#include "core/terminal/sim_boot_loader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/firmware/intel_hex.h"
#include "core/firmware/intel_hex_file.h"
#include "core/terminal/sim_link.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

const std::string kFirmware = VK930_FIRMWARE_DATA_DIR "/hsbt15.a20";
const BootFileLookup kBootFiles{VK930_BOOT_DIR};

std::shared_ptr<TerminalModel> MakeTerminal(const std::string& spec) {
    Result<LinkSpec> parsed = ParseLinkSpec(spec);
    EXPECT_TRUE(parsed.ok()) << parsed.error();
    Result<std::unique_ptr<TerminalModel>> model = TerminalModel::Create(parsed->sim);
    EXPECT_TRUE(model.ok()) << model.error();
    return model.ok() ? std::shared_ptr<TerminalModel>(std::move(model.value())) : nullptr;
}

// Connects at `baud` and uploads; the terminal's version afterwards.
Short Upload(const std::shared_ptr<TerminalModel>& terminal, const std::string& file,
             Short baud = kBaudBootLoader) {
    SimLink link(terminal, kBootFiles);
    link.Connect(1, baud);
    return link.UploadFirmware(file);
}

std::string VersionSeenByTheApplication(const std::shared_ptr<TerminalModel>& terminal) {
    SimLink link(terminal);
    link.Connect(1, kBaudApplication);
    return link.GetVersionText();
}

TEST(SimBootLoader, EachBootFaultGivesItsStatusAndLeavesTheTerminalAsItWas) {
    const std::vector<std::pair<std::string, Short>> cases = {
        {"boot=no00", 3},   {"boot=noAA", 4},   {"boot=stage1", 5}, {"boot=stage2", 6},
        {"boot=stage3", 7}, {"boot=verify", 8}, {"absent", 3},
    };
    for (const auto& [options, status] : cases) {
        auto terminal = MakeTerminal("sim?" + options);
        EXPECT_EQ(Upload(terminal, kFirmware), status) << options;
        EXPECT_EQ(terminal->Version(), "14") << options;
        EXPECT_TRUE(terminal->Firmware().segments.empty()) << options;
    }
}

#ifndef _WIN32  // /dev/full and symbolic links to it are Linux's
// A full disk under the state file: the flash cannot be written, the upload fails its
// verification and no temporary file stays. The temporary name is made a link to /dev/full,
// which fails every write with ENOSPC: a disk that is full without mounting one.
TEST(SimBootLoader, AFullDiskFailsVerificationAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string state = dir.File("STATE");
    auto terminal = MakeTerminal("sim:" + state);
    ASSERT_TRUE(std::filesystem::exists("/dev/full"));
    std::filesystem::create_symlink("/dev/full", FirmwareFilePath(state) + ".new");
    EXPECT_EQ(Upload(terminal, kFirmware), kUploadVerifyFailed);
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"STATE"});
    EXPECT_EQ(terminal->Version(), "14");
}
#endif

TEST(SimBootLoader, AnswersOnlyOnAPortOpenedAt4800) {
    auto terminal = MakeTerminal("sim");
    EXPECT_EQ(Upload(terminal, kFirmware, kBaudApplication), kUploadNoZero);
    SimLink closed(terminal, kBootFiles);
    EXPECT_EQ(closed.UploadFirmware(kFirmware), kUploadNoZero);
    // The files are read before the boot loader is asked anything.
    EXPECT_EQ(Upload(terminal, "", kBaudApplication), kUploadFirmwareFileBad);
    EXPECT_EQ(VersionSeenByTheApplication(terminal), "14");
}

TEST(SimBootLoader, AnUploadReplacesFlashAndVersionAndReportsProgress) {
    auto terminal = MakeTerminal("sim");
    SimLink link(terminal, kBootFiles);
    std::vector<std::size_t> sent;
    link.SetUploadProgress([&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, 6656u);
        sent.push_back(done);
    });
    link.Connect(1, kBaudBootLoader);
    EXPECT_EQ(link.UploadFirmware(kFirmware), kUploadSucceeded);
    EXPECT_EQ(terminal->Firmware(), ReadIntelHexFile(kFirmware).value());
    EXPECT_EQ(VersionSeenByTheApplication(terminal), "15");
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), 0u);
    EXPECT_EQ(sent.back(), 6656u);
}

TEST(SimBootLoader, AFileNameWithoutVersionKeepsTheVersion) {
    TempDir dir;
    const FirmwareImage image{{{0, {1, 2, 3}}}};
    WriteFile(dir.File("image.a20"), WriteIntelHex(image));
    auto terminal = MakeTerminal("sim?version=21");
    EXPECT_EQ(Upload(terminal, dir.File("image.a20")), kUploadSucceeded);
    EXPECT_EQ(terminal->Firmware(), image);
    EXPECT_EQ(terminal->Version(), "21");
}

TEST(SimBootLoader, TheUploadOutlivesTheProcessBesideTheStateFile) {
    TempDir dir;
    const std::string state = dir.File("t.bin");
    auto terminal = MakeTerminal("sim:" + state);
    ASSERT_EQ(Upload(terminal, kFirmware), kUploadSucceeded);
    EXPECT_EQ(ReadFile(VersionFilePath(state)), "15\n");
    auto later = MakeTerminal("sim:" + state);  // as the next process opens it
    EXPECT_EQ(VersionSeenByTheApplication(later), "15");
    EXPECT_EQ(later->Firmware(), ReadIntelHexFile(kFirmware).value());
    EXPECT_EQ(ReadFile(state).size(), 512u) << "the pages are untouched";

    WriteFile(FirmwareFilePath(state), ":0100000044BC\n");
    Result<LinkSpec> spec = ParseLinkSpec("sim:" + state);
    Result<std::unique_ptr<TerminalModel>> broken = TerminalModel::Create(spec->sim);
    ASSERT_FALSE(broken.ok());
    EXPECT_NE(broken.error().find("t.bin.fw: line 1: bad checksum"), std::string::npos)
        << broken.error();
}

TEST(SimBootLoader, ATerminalInMemoryWritesNoFiles) {
    TempDir dir;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    auto terminal = MakeTerminal("sim");
    EXPECT_EQ(Upload(terminal, kFirmware), kUploadSucceeded);
    EXPECT_EQ(terminal->Version(), "15");
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
    std::filesystem::current_path(previous);
}

TEST(SimBootLoader, TakesTheStepsOnlyInTheirOrder) {
    auto terminal = MakeTerminal("sim");
    const FirmwareImage image{{{0x100, {9, 8, 7}}}};
    SimBootLoader early(*terminal, true);
    EXPECT_FALSE(early.Sync()) << "no sync before the 0x00";
    EXPECT_FALSE(early.Erase());
    EXPECT_FALSE(early.WriteBlock(0x100, {9, 8, 7}));
    EXPECT_FALSE(early.Verify(image, "99"));

    SimBootLoader loader(*terminal, true);
    ASSERT_TRUE(loader.AwaitReady() && loader.Sync());
    EXPECT_FALSE(loader.SendBootFile({})) << "an empty boot file cannot run";
    ASSERT_TRUE(loader.SendBootFile(image) && loader.Erase());
    EXPECT_FALSE(loader.WriteBlock(0xFFFFFE, {1, 2, 3})) << "beyond the flash";
    ASSERT_TRUE(loader.WriteBlock(0x100, {9, 8}));
    EXPECT_FALSE(loader.Verify(image, "99")) << "a byte is missing";
    ASSERT_TRUE(loader.WriteBlock(0x102, {7}));
    EXPECT_EQ(loader.Flash(), image);
    EXPECT_TRUE(loader.Verify(image, "99"));
    EXPECT_EQ(terminal->Version(), "99");
    EXPECT_FALSE(loader.Verify(image, "98")) << "an upload ends with its verification";
}

}  // namespace
}  // namespace vk930::test
