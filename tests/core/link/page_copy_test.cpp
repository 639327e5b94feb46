#include "core/link/page_copy.h"

#include <gtest/gtest.h>

namespace vk930 {
namespace {

PageBytes Counting() {
    PageBytes bytes{};
    for (int i = 0; i < kPageSize; ++i) bytes[i] = static_cast<std::uint8_t>(i);
    return bytes;
}

TEST(PageCopy, ReadsBytesUnsignedAndNeverOutsideThePage) {
    PageCopy copy;
    copy.Store(1, Counting());
    EXPECT_EQ(copy.GetByte(1, 200), 200);  // never negative
    EXPECT_EQ(copy.GetByte(1, 255), 255);
    EXPECT_EQ(copy.GetByte(1, 256), 0);
    EXPECT_EQ(copy.GetByte(1, -1), 0);
    EXPECT_EQ(copy.GetByte(2, 3), 0);
    EXPECT_EQ(copy.GetByte(-1, 3), 0);
    EXPECT_EQ(copy.GetByte(0, 5), 0);  // page 0 never stored
}

TEST(PageCopy, TextIsClippedAtThePageEnd) {
    PageCopy copy;
    copy.Store(0, Counting());
    EXPECT_EQ(copy.GetText(65, 0, 3), "ABC");
    EXPECT_EQ(copy.GetText(250, 0, 20).size(), 6u);
    EXPECT_EQ(copy.GetText(256, 0, 4), "");
    EXPECT_EQ(copy.GetText(-3, 0, 4), "");
    EXPECT_EQ(copy.GetText(10, 0, 0), "");
    EXPECT_EQ(copy.GetText(10, 0, -1), "");
    EXPECT_EQ(copy.GetText(10, 2, 4), "");
    EXPECT_EQ(copy.GetText(0, 0, 32767).size(), 256u);
}

}  // namespace
}  // namespace vk930
