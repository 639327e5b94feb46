#include "core/settings/recent_files.h"

#include <gtest/gtest.h>

namespace vk930::test {
namespace {

using Files = std::vector<std::string>;

TEST(RecentFiles, OpenedFileGoesFirstAndTheListKeepsItsSize) {
    const Files full{"/d", "/c", "/b", "/a"};
    EXPECT_EQ(RecentFilesAfterOpening(full, "/e", 4), (Files{"/e", "/d", "/c", "/b"}));
    EXPECT_EQ(RecentFilesAfterOpening(full, "/b", 4), (Files{"/b", "/d", "/c", "/a"}));
    EXPECT_EQ(RecentFilesAfterOpening(full, "/d", 4), full);
    EXPECT_EQ(RecentFilesAfterOpening({}, "/a", 4), (Files{"/a"}));
    EXPECT_EQ(RecentFilesAfterOpening({"/a", "", "/b"}, "/c", 4), (Files{"/c", "/a", "/b"}));
    EXPECT_EQ(RecentFilesAfterOpening(full, "/e", 0), Files{});
}

TEST(RecentFiles, WindowsPathsCompareWithoutCase) {
    const Files files{"C:\\Data\\A.pcg", "C:\\b.pcg"};
    EXPECT_EQ(RecentFilesAfterOpening(files, "c:\\data\\a.PCG", 4, PathCase::kIgnored),
              (Files{"c:\\data\\a.PCG", "C:\\b.pcg"}));
    EXPECT_EQ(RecentFilesAfterOpening(files, "c:\\data\\a.PCG", 4, PathCase::kSensitive),
              (Files{"c:\\data\\a.PCG", "C:\\Data\\A.pcg", "C:\\b.pcg"}));
    EXPECT_EQ(RecentFileEntryName(0), "File1");
    EXPECT_EQ(RecentFileEntryName(3), "File4");
}

}  // namespace
}  // namespace vk930::test
