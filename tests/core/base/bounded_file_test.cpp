// Whole-file reads: only regular files, never past the bound; private folders whatever the
// umask.
#include "core/base/bounded_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/base/private_folder.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

TEST(BoundedFile, ReadsARegularFileWithinTheBoundAndRefusesEverythingElseUnread) {
    TempDir dir;
    WriteFile(dir.File("ten.txt"), "0123456789");
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    struct Case {
        std::string path;
        std::uintmax_t bound;
        FileReadProblem problem;
        std::string said;
    };
    const Case cases[] = {
        {dir.File("ten.txt"), 10, FileReadProblem::kNone, ""},
        {dir.File("ten.txt"), 9, FileReadProblem::kTooLarge, "larger than 9 bytes"},
        {dir.File("missing"), 10, FileReadProblem::kMissing, "no such file"},
        // Opening the pipe would wait for a writer, reading the devices would never end.
        {dir.File("pipe"), 10, FileReadProblem::kNotRegular, "not a regular file"},
        {"/dev/zero", 1u << 20, FileReadProblem::kNotRegular, "not a regular file"},
        {"/dev/tty", 10, FileReadProblem::kNotRegular, "not a regular file"},
        {dir.Path().string(), 10, FileReadProblem::kNotRegular, "not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const BoundedFile read = ReadBoundedFile(c.path, c.bound);
        EXPECT_EQ(read.problem, c.problem);
        EXPECT_EQ(Describe(read, c.bound), c.said);
        EXPECT_EQ(read.bytes, c.problem == FileReadProblem::kNone ? "0123456789" : "");
    }
    EXPECT_EQ(Describe(ReadBoundedFile(dir.File("ten.txt"), 0), 1u << 20), "larger than 1 MiB");
}

TEST(PrivateFolder, FoldersAreMadeForTheOwnerAloneWhateverTheUmask) {
    TempDir dir;
    const mode_t old = ::umask(0);
    const Status made = MakePrivateFolder(dir.File("state/VK930Config/backups"));
    ::umask(old);
    ASSERT_TRUE(made.ok()) << made.error();
    for (const char* folder : {"state", "state/VK930Config", "state/VK930Config/backups"}) {
        struct stat status {};
        ASSERT_EQ(::stat(dir.File(folder).c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0700u) << folder;
    }
    // An existing folder is left as it is; a file in the way is named.
    EXPECT_TRUE(MakePrivateFolder(dir.Path().string()).ok());
    WriteFile(dir.File("file"), "x");
    const Status blocked = MakePrivateFolder(dir.File("file/sub"));
    ASSERT_FALSE(blocked.ok());
    EXPECT_NE(blocked.error().find("file/sub"), std::string::npos) << blocked.error();
    EXPECT_NE(blocked.error().find("is a file, not a folder"), std::string::npos)
        << blocked.error();

    WriteFile(dir.File("open.txt"), "x");
    ::chmod(dir.File("open.txt").c_str(), 0666);
    ASSERT_TRUE(MakePrivateFile(dir.File("open.txt")).ok());
    struct stat status {};
    ASSERT_EQ(::stat(dir.File("open.txt").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
}

}  // namespace
}  // namespace vk930::test
