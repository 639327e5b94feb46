// The file that replaces its target only when written in full: on Linux by rename, on Windows
// by MoveFileExA with write-through (these run under Wine too).
#include "core/params/replacing_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace vk930::test {
namespace {

namespace fs = std::filesystem;

// Files in the folder other than the given one: a temporary left behind would show here.
std::vector<std::string> Others(const TempDir& dir, const std::string& keep) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        if (entry.path().filename() != keep) names.push_back(entry.path().filename().string());
    return names;
}

TEST(ReplacingFile, CommitReplacesAnExistingFileAndLeavesNothingElse) {
    TempDir dir;
    const std::string target = dir.File("out.pcg");
    WriteFile(target, "old text that is longer than the new one\n");
    ReplacingFile file;
    ASSERT_TRUE(file.Open(target).ok());
    EXPECT_TRUE(file.Write("NEW:1\n"));
    EXPECT_TRUE(file.Write("END\n"));
    EXPECT_EQ(ReadFile(target), "old text that is longer than the new one\n");  // not yet
    ASSERT_TRUE(file.Commit().ok());
    EXPECT_EQ(ReadFile(target), "NEW:1\nEND\n");
    EXPECT_TRUE(Others(dir, "out.pcg").empty());
}

TEST(ReplacingFile, CommitCreatesAMissingTarget) {
    TempDir dir;
    const std::string target = dir.File("new file.pcg");
    ReplacingFile file;
    ASSERT_TRUE(file.Open(target).ok());
    EXPECT_TRUE(file.Write("END\n"));
    ASSERT_TRUE(file.Commit().ok());
    EXPECT_EQ(ReadFile(target), "END\n");
}

TEST(ReplacingFile, AnUncommittedFileKeepsTheOldOneAndIsRemoved) {
    TempDir dir;
    const std::string target = dir.File("out.pcg");
    WriteFile(target, "OLD:1\nEND\n");
    {
        ReplacingFile file;
        ASSERT_TRUE(file.Open(target).ok());
        EXPECT_TRUE(file.Write("HALF"));
        EXPECT_EQ(Others(dir, "out.pcg").size(), 1u);  // the temporary, next to the target
    }
    EXPECT_EQ(ReadFile(target), "OLD:1\nEND\n");
    EXPECT_TRUE(Others(dir, "out.pcg").empty());
}

TEST(ReplacingFile, AFolderIsNeverReplaced) {
    TempDir dir;
    fs::create_directory(dir.Path() / "folder.pcg");
    ReplacingFile file;
    const Status opened = file.Open(dir.File("folder.pcg"));
    ASSERT_FALSE(opened.ok());
    EXPECT_NE(opened.error().find("is a folder"), std::string::npos) << opened.error();
    EXPECT_TRUE(fs::is_directory(dir.Path() / "folder.pcg"));
}

}  // namespace
}  // namespace vk930::test
