#include "core/wire/wire_frame.h"

#include <gtest/gtest.h>

#include "core/terminal/wire_terminal.h"
#include "core/wire/boot_wire.h"

namespace vk930 {
namespace {

Bytes Of(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

TEST(Crc16, MatchesTheCcittFalseCheckValues) {
    EXPECT_EQ(Crc16(Of("123456789")), 0x29B1);
    EXPECT_EQ(Crc16(Of("A")), 0xB915);
    EXPECT_EQ(Crc16(Bytes{}), 0xFFFF);
}

TEST(EncodeFrame, MatchesTheDocumentedExamples) {
    EXPECT_EQ(EncodeFrame({0, 0x01, {}}), (Bytes{0x02, 0x00, 0x00, 0x00, 0x01, 0x94, 0xE1}));
    EXPECT_EQ(EncodeFrame({0, 0x81, {0x00}}),
              (Bytes{0x02, 0x01, 0x00, 0x00, 0x81, 0x00, 0x93, 0xF4}));
    EXPECT_EQ(EncodeFrame({2, 0x20, {0, 0, 2, 0, 44, 0}}),
              (Bytes{0x02, 0x06, 0x00, 0x02, 0x20, 0, 0, 2, 0, 44, 0, 0xDD, 0x35}));
    EXPECT_EQ(EncodeFrame({3, 0x82, {0, 6, 0}}),
              (Bytes{0x02, 0x03, 0x00, 0x03, 0x82, 0x00, 0x06, 0x00, 0x5D, 0x68}));
    // The length is two bytes, low first: a page answer carries 257.
    const Bytes page = EncodeFrame({7, 0x90, Bytes(257, 0xAB)});
    EXPECT_EQ(page.size(), 257 + kFrameOverhead);
    EXPECT_EQ(page[1], 0x01);
    EXPECT_EQ(page[2], 0x01);
}

TEST(FrameReader, CutsFramesThatArriveInPiecesOrTogether) {
    const Frame a{1, 0x10, {0}};
    const Frame b{2, 0x21, {1, 0, 100, 0, 'H', 'I'}};
    Bytes both = EncodeFrame(a);
    const Bytes second = EncodeFrame(b);
    both.insert(both.end(), second.begin(), second.end());
    FrameReader reader;
    for (std::uint8_t byte : both) {
        reader.Feed(std::span(&byte, 1));
        if (auto frame = reader.Next()) {
            EXPECT_TRUE(*frame == a || *frame == b);
        }
    }
    reader.Reset();
    reader.Feed(both);
    EXPECT_EQ(reader.Next(), a);
    EXPECT_EQ(reader.Next(), b);
    EXPECT_FALSE(reader.Next());
    EXPECT_FALSE(reader.Pending());
    EXPECT_EQ(reader.SkippedBytes(), 0u);
}

TEST(FrameReader, SkipsJunkBeforeAFrameEvenJunkThatLooksLikeAStart) {
    const Frame frame{9, 0x83, {0, '1', '4'}};
    const std::vector<Bytes> noises = {
        JunkBytes(),
        {0x02},                    // a lone start byte
        {0x02, 0xFF, 0xFF},        // a start byte with an impossible length
        {0x02, 0x40, 0x00, 1, 2},  // a start byte whose long frame would swallow the real one
        {0x00, 0x02, 0x02, 0x00, 0x00},
    };
    for (const Bytes& noise : noises) {
        FrameReader reader;
        Bytes bytes = noise;
        const Bytes encoded = EncodeFrame(frame);
        bytes.insert(bytes.end(), encoded.begin(), encoded.end());
        reader.Feed(bytes);
        EXPECT_EQ(reader.Next(), frame) << testing::PrintToString(noise);
        EXPECT_EQ(reader.SkippedBytes(), noise.size()) << testing::PrintToString(noise);
    }
}

TEST(FrameReader, DropsADamagedFrameOnceAndFindsTheNextOne) {
    Bytes damaged = EncodeFrame({1, 0x81, {0}});
    damaged[5] ^= 0x01;
    const Frame good{2, 0x81, {0}};
    FrameReader reader;
    reader.Feed(damaged);
    EXPECT_FALSE(reader.Next());
    EXPECT_EQ(reader.BadFrames(), 1);
    EXPECT_FALSE(reader.Pending());
    EXPECT_FALSE(reader.Next());
    EXPECT_EQ(reader.BadFrames(), 1);  // counted once
    reader.Feed(EncodeFrame(good));
    EXPECT_EQ(reader.Next(), good);
}

TEST(FrameReader, ATruncatedFrameWaitsAndAResentOneIsFound) {
    const Bytes full = EncodeFrame({4, 0x90, Bytes(257, 0x11)});
    FrameReader reader;
    reader.Feed(std::span(full).first(100));  // the line broke off here
    EXPECT_FALSE(reader.Next());
    EXPECT_TRUE(reader.Pending());
    reader.Feed(full);  // sent again whole
    EXPECT_EQ(reader.Next(), (Frame{4, 0x90, Bytes(257, 0x11)}));
    EXPECT_FALSE(reader.Pending());
}

}  // namespace
}  // namespace vk930

namespace vk930 {
namespace {

TEST(BootCrc32, MatchesTheIeeeCheckValueAndCoversAddresses) {
    const std::string check = "123456789";
    EXPECT_EQ(boot::Crc32(Bytes(check.begin(), check.end())), 0xCBF43926u);
    FirmwareImage image;
    image.segments = {{0x100, {0x01, 0x02}}, {0x2000, {'A', 'B'}}};
    EXPECT_EQ(boot::ImageCrc32(image), 0x511F79E4u);
    image.segments[1].address = 0x2001;  // the same bytes elsewhere are another image
    EXPECT_NE(boot::ImageCrc32(image), 0x511F79E4u);
    Bytes number;
    boot::PutUint32(number, 0x12345678);
    EXPECT_EQ(number, (Bytes{0x78, 0x56, 0x34, 0x12}));
    EXPECT_EQ(boot::GetUint32(number, 0), 0x12345678u);
}

}  // namespace
}  // namespace vk930
