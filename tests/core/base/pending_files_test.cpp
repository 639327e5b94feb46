// The list of temporary files a signal handler removes: slots taken and given back, paths that
// do not fit refused, and the parameter file's temporary file listed exactly while it exists.
#include "core/base/pending_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/params/replacing_file.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

std::vector<std::string> Listed(const PendingFiles& files) {
    std::vector<std::string> paths;
    files.ForEach([&](const char* path) { paths.emplace_back(path); });
    return paths;
}

TEST(PendingFiles, SlotsAreTakenAndGivenBack) {
    PendingFiles files;
    const int a = files.Add("/tmp/a");
    const int b = files.Add("/tmp/b");
    EXPECT_NE(a, b);
    EXPECT_EQ(Listed(files), (std::vector<std::string>{"/tmp/a", "/tmp/b"}));
    files.Remove(a);
    EXPECT_EQ(Listed(files), std::vector<std::string>{"/tmp/b"});
    EXPECT_EQ(files.Add("/tmp/c"), a) << "a slot given back is used again";
    files.Remove(-1);  // what a failed Add returned: harmless
    files.Remove(static_cast<int>(PendingFiles::kSlots));

    EXPECT_EQ(files.Add(std::string(PendingFiles::kMaxPath, 'x')), -1);
    while (files.Add("/tmp/more") >= 0) {
    }
    EXPECT_EQ(Listed(files).size(), PendingFiles::kSlots);
}

TEST(PendingFiles, AReplacingFileIsListedWhileItsTemporaryFileExists) {
    TempDir dir;
    const std::size_t before = Listed(TemporaryFiles()).size();
    {
        ReplacingFile file;
        ASSERT_TRUE(file.Open(dir.File("p.pcg")).ok());
        const std::vector<std::string> listed = Listed(TemporaryFiles());
        ASSERT_EQ(listed.size(), before + 1);
        EXPECT_TRUE(std::filesystem::exists(listed.back())) << listed.back();
        EXPECT_EQ(std::filesystem::path(listed.back()).parent_path(), dir.Path());
        ASSERT_TRUE(file.Write("END\r\n"));
        ASSERT_TRUE(file.Commit().ok());
        EXPECT_EQ(Listed(TemporaryFiles()).size(), before) << "committed: nothing to remove";
    }
    {
        ReplacingFile abandoned;
        ASSERT_TRUE(abandoned.Open(dir.File("q.pcg")).ok());
        EXPECT_EQ(Listed(TemporaryFiles()).size(), before + 1);
    }
    EXPECT_EQ(Listed(TemporaryFiles()).size(), before) << "removed with its file";
}

}  // namespace
}  // namespace vk930::test
