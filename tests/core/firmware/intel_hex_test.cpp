#include "core/firmware/intel_hex.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/firmware/intel_hex_file.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct GoodCase {
    const char* name;
    std::string text;
    std::vector<ImageSegment> segments;
};

const std::vector<GoodCase>& GoodCases() {
    static const std::vector<GoodCase> cases = {
        {"one data record", ":0400100001020304E2\n:00000001FF\n", {{0x10, {1, 2, 3, 4}}}},
        {"lower-case digits, CRLF, blanks and blank lines",
         "\r\n  :0400100001020304e2  \r\n\r\n:00000001ff\r\n",
         {{0x10, {1, 2, 3, 4}}}},
        {"adjacent records merge",
         ":020000000102FB\n:020002000304F5\n:00000001FF\n",
         {{0, {1, 2, 3, 4}}}},
        {"records out of order are sorted and merged",
         ":020002000304F5\n:020000000102FB\n:00000001FF\n",
         {{0, {1, 2, 3, 4}}}},
        {"a gap makes two segments",
         ":0100000011EE\n:0100100022CD\n:00000001FF\n",
         {{0, {0x11}}, {0x10, {0x22}}}},
        {"extended linear address",
         ":020000040001F9\n:0100200033AC\n:00000001FF\n",
         {{0x10020, {0x33}}}},
        {"extended segment address",
         ":020000021000EC\n:0100200033AC\n:00000001FF\n",
         {{0x10020, {0x33}}}},
        {"start address records are ignored",
         ":0400000300001000E9\n:0400000500000100F6\n:0100000044BB\n:00000001FF\n",
         {{0, {0x44}}}},
        {"empty data records are harmless",
         ":0000000000\n:0100000044BB\n:00000001FF\n",
         {{0, {0x44}}}},
        {"what follows the end record is ignored",
         ":0100000044BB\n:00000001FF\ngarbage\n",
         {{0, {0x44}}}},
        {"end record without a final newline", ":0100000044BB\n:00000001FF", {{0, {0x44}}}},
        {"the last byte below 16 MiB",
         ":0200000400FFFB\n:01FFFF0055AC\n:00000001FF\n",
         {{0xFFFFFF, {0x55}}}},
    };
    return cases;
}

TEST(IntelHex, GoodFilesGiveTheirImage) {
    for (const GoodCase& c : GoodCases()) {
        Result<FirmwareImage> image = ParseIntelHex(c.text);
        ASSERT_TRUE(image.ok()) << c.name << ": " << image.error();
        EXPECT_EQ(image->segments, c.segments) << c.name;
    }
}

struct BadCase {
    const char* name;
    std::string text;
    std::string error;  // the error must contain this
};

TEST(IntelHex, EachKindOfBadRecordIsReportedWithItsLine) {
    const std::vector<BadCase> cases = {
        {"bad checksum", ":0100000044BB\n:0400100001020304E3\n:00000001FF\n",
         "line 2: bad checksum E3, expected E2"},
        {"announced length longer than the data", ":0400100001020304E2\n:0500100001020304E1\n",
         "line 2: bad length: the record announces 5 data bytes but holds 4"},
        {"odd number of digits", ":0400100001020304E\n:00000001FF\n", "line 1: bad length: odd"},
        {"too short", ":00\n", "line 1: bad length: record too short"},
        {"bad hex digit", ":04001000010G0304E2\n:00000001FF\n", "line 1: bad hex digit 'G'"},
        {"control character",
         std::string(":0100000044\x01"
                     "BB\n:00000001FF\n"),
         "line 1: bad hex digit byte 0x01"},
        {"unknown record type", ":00000006FA\n:00000001FF\n", "line 1: unknown record type 06"},
        {"end record with data", ":0100000100FE\n", "line 1: bad length for a record of type 01"},
        {"address record of the wrong length", ":0100000400FB\n",
         "line 1: bad length for a record of type 04"},
        {"line without a colon", ":0100000044BB\n0100000044BB\n:00000001FF\n",
         "line 2: a record starts with ':', not '0'"},
        {"missing end record", ":0100000044BB\n", "no end-of-file record"},
        {"empty text", "", "no end-of-file record"},
        {"no data", ":00000001FF\n", "no data"},
        {"only empty data records", ":0000000000\n:00000001FF\n", "no data"},
        {"data at 16 MiB", ":020000040100F9\n:0100000055AA\n:00000001FF\n",
         "line 2: data at address 01000000 lies beyond the 16 MiB limit"},
        {"data running past 16 MiB", ":0200000400FFFB\n:02FFFF00556645\n:00000001FF\n",
         "line 2: data at address 00FFFFFF lies beyond"},
        {"byte given twice", ":020000000102FB\n:0100010009F5\n:00000001FF\n",
         "the byte at address 00000001 is given twice"},
    };
    for (const BadCase& c : cases) {
        Result<FirmwareImage> image = ParseIntelHex(c.text);
        ASSERT_FALSE(image.ok()) << c.name;
        EXPECT_NE(image.error().find(c.error), std::string::npos)
            << c.name << ": got \"" << image.error() << "\"";
    }
}

TEST(IntelHex, WrittenImagesReadBackTheSame) {
    Bytes big(70000);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7 + 3);
    const std::vector<FirmwareImage> images = {
        {{{0, {0xAA}}}},
        {{{0xFFF0, big}}},                                 // crosses two 64 KiB boundaries
        {{{0x100, {1, 2, 3}}, {0xFFFFF0, Bytes(16, 9)}}},  // ends right at 16 MiB
    };
    for (const FirmwareImage& image : images) {
        const std::string text = WriteIntelHex(image);
        Result<FirmwareImage> back = ParseIntelHex(text);
        ASSERT_TRUE(back.ok()) << back.error();
        EXPECT_EQ(back.value(), image);
    }
    EXPECT_EQ(WriteIntelHex({{{0x10010, {0x33}}}}),
              ":020000040001F9\n:0100100033BC\n:00000001FF\n");
}

TEST(IntelHexFile, TheShippedFilesAreValid) {
    Result<FirmwareImage> firmware = ReadIntelHexFile(VK930_FIRMWARE_DATA_DIR "/hsbt15.a20");
    ASSERT_TRUE(firmware.ok()) << firmware.error();
    ASSERT_EQ(firmware->segments.size(), 2u);
    EXPECT_EQ(firmware->segments[0].address, 0u);
    EXPECT_EQ(firmware->segments[0].bytes.size(), 6144u);
    EXPECT_EQ(firmware->segments[1].address, 0x10000u);
    EXPECT_EQ(firmware->ByteCount(), 6656u);
    Result<FirmwareImage> boot = ReadIntelHexFile(VK930_BOOT_DIR "/boot.a20");
    ASSERT_TRUE(boot.ok()) << boot.error();
    EXPECT_GT(boot->ByteCount(), 0u);
}

TEST(IntelHexFile, FilesThatCannotBeImagesAreRefusedByName) {
    TempDir dir;
    const std::string huge = dir.File("huge.a20");
    WriteFile(huge, "");
    std::filesystem::resize_file(huge, kMaxHexTextSize + 1);  // sparse: nothing is written
    const std::string bad = dir.File("bad.a20");
    WriteFile(bad, ":0100000044BC\n:00000001FF\n");
    const std::string binary = dir.File("binary.a20");
    WriteFile(binary, std::string("\x7F"
                                  "ELF\x02\x01\x01\0\0\0",
                                  10));
    const std::string pcg = dir.File("params.a20");
    WriteFile(pcg, "HEADING:Shop\r\nEND\r\n");
    const std::string crOnly = dir.File("cr.a20");
    WriteFile(crOnly, ":0100000044BB\r:00000001FF\r");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "no file name given"},
        {dir.File("missing.a20"), dir.File("missing.a20") + ": no such file"},
        {dir.Path().string(), ": not a regular file"},
        {huge, huge + ": larger than 64 MiB"},
        {bad, bad + ": line 1: bad checksum"},
        {binary, binary + ": line 1"},
        {pcg, pcg + ": line 1"},
        {crOnly, crOnly + ": line 1"},
#ifndef _WIN32  // Windows devices (NUL, COM1) have no file status to tell them by
        {"/dev/zero", "/dev/zero: not a regular file"},
#endif
    };
    for (const auto& [path, error] : cases) {
        Result<FirmwareImage> image = ReadIntelHexFile(path);
        ASSERT_FALSE(image.ok()) << path;
        EXPECT_NE(image.error().find(error), std::string::npos) << image.error();
    }
}

}  // namespace
}  // namespace vk930::test
