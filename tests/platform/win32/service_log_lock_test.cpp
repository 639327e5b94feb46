// The service log's named mutex: one per file however its path is spelt, distinct from the
// counter's, and two writers with locks of their own (as two programs have) that append long
// records and journal entries at once leave every line whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <string>
#include <thread>

#include "core/proof/record_line.h"
#include "core/registry/journal_file.h"
#include "platform/win32/win32_counter.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

ServiceRecord LongRecord(int commId) {
    ServiceRecord record;
    record.time = std::chrono::system_clock::now();
    record.program = "vk930config";
    record.command = "set";
    record.comPort = 1;
    record.identity.commIdBefore = commId;
    record.detail = std::string(9000, 'x');  // longer than the C runtime's buffer
    return record;
}

TEST(ServiceLogLock, OneFileIsOneMutexHoweverItsPathIsSpelt) {
    TempDir dir;
    const std::string path = dir.File("State\\service-log.jsonl");
    NamedMutexLock first = NamedMutexLock::ForFile(path);
    NamedMutexLock second = NamedMutexLock::ForFile(Upper(path));
    ASSERT_TRUE(first.Acquire().ok());
    std::atomic<bool> released{false};
    bool sawReleased = false;
    std::thread other([&] {
        ASSERT_TRUE(second.Acquire().ok());
        sawReleased = released.load();
        second.Release();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    released = true;
    first.Release();
    other.join();
    EXPECT_TRUE(sawReleased) << "the second lock was taken while the first was held";

    // The counter's lock of a store of the same name is another mutex: holding both never
    // waits.
    NamedMutexLock counter(path);
    ASSERT_TRUE(first.Acquire().ok());
    std::thread taker([&] {
        EXPECT_TRUE(counter.Acquire().ok());
        counter.Release();
    });
    taker.join();
    first.Release();
}

TEST(ServiceLogLock, TwoWritersWithLocksOfTheirOwnLeaveEveryLineWhole) {
    TempDir dir;
    const std::string path = dir.File("state\\service-log.jsonl");
    constexpr int kEach = 25;
    const auto writer = [&](const std::string& spelt, int first) {
        NamedMutexLock lock = NamedMutexLock::ForFile(spelt);
        JournalFile log(path, "pc:" + std::to_string(first), HolderCheck(), lock);
        for (int i = 0; i < kEach; ++i) {
            EXPECT_TRUE(log.Append(LongRecord(first + i)).ok());
            EXPECT_TRUE(log.Add({first + i, IdState::kWritten, "", {}, "", "", std::nullopt}).ok());
        }
    };
    std::thread one(writer, path, 1000), two(writer, Upper(path), 2000);
    one.join();
    two.join();
    const FoundRecords found = FindRecordLines(ReadFile(path), {});
    EXPECT_EQ(found.unreadable, 0);
    EXPECT_EQ(found.json.size(), 2u * kEach);
}

}  // namespace
}  // namespace vk930::test
