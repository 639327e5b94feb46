#include "core/settings/id_counter.h"

#include <gtest/gtest.h>

#include <mutex>

#include "support/memory_settings.h"

namespace vk930::test {
namespace {

class MutexLock : public StoreLock {
  public:
    Status Acquire() override {
        mutex_.lock();
        ++acquired;
        return {};
    }
    void Release() override { mutex_.unlock(); }
    int acquired = 0;

  private:
    std::mutex mutex_;
};

class RefusingLock : public StoreLock {
  public:
    Status Acquire() override { return Error{"lock file is on a read-only folder"}; }
    void Release() override { ADD_FAILURE() << "released a lock never taken"; }
};

struct CounterTest : ::testing::Test {
    MemorySettings settings;
    MutexLock lock;
    IdCounter counter{settings, lock};
};

TEST_F(CounterTest, ReservationsCountOnFromTheStoredIdAndStoreEachBeforeItIsGiven) {
    settings.values["commID"] = 300;
    for (int expected = 301; expected <= 303; ++expected) {
        Result<int> id = counter.Reserve();
        ASSERT_TRUE(id.ok()) << id.error();
        EXPECT_EQ(*id, expected);
        EXPECT_EQ(settings.values["commID"], expected);
    }
    EXPECT_EQ(lock.acquired, 3);
}

TEST_F(CounterTest, ANeverStoredCounterCarriesOnFromTheDefault) {
    Result<int> id = counter.Reserve();
    ASSERT_TRUE(id.ok()) << id.error();
    EXPECT_EQ(*id, 10001);
}

TEST_F(CounterTest, IdsThatDoNotFitATerminalAreNeverHandedOutOrStored) {
    for (const int stored : {65535, 99999999, -5}) {
        settings.values["commID"] = stored;
        Result<int> id = counter.Reserve();
        ASSERT_FALSE(id.ok()) << "stored " << stored << " gave " << *id;
        EXPECT_NE(id.error().find("does not fit the terminal (0 to 65535)"), std::string::npos);
        EXPECT_EQ(settings.values["commID"], stored);
    }
    settings.values["commID"] = 65534;
    EXPECT_EQ(*counter.Reserve(), 65535) << "the last ID that fits is still given";
}

TEST_F(CounterTest, StartAtRefusesIdsHandedOutAlreadyAndIdsThatDoNotFit) {
    settings.values["commID"] = 500;
    Status refused = counter.StartAt(400);
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().find("up to 500"), std::string::npos) << refused.error();
    EXPECT_NE(refused.error().find("start from 501"), std::string::npos) << refused.error();
    EXPECT_FALSE(counter.StartAt(500).ok());
    EXPECT_FALSE(counter.StartAt(65536).ok());
    EXPECT_EQ(settings.values["commID"], 500);
    ASSERT_TRUE(counter.StartAt(900).ok());
    EXPECT_EQ(*counter.Reserve(), 900);
}

TEST_F(CounterTest, AStoreThatCannotBeOpenedIsNamedInItsOwnWords) {
    settings.openError = 5;
    settings.problem = "settings file '/x/s.ini' cannot be written";
    Result<int> id = counter.Reserve();
    ASSERT_FALSE(id.ok());
    EXPECT_EQ(id.error(),
              "cannot use the settings file '/x/s.ini' cannot be written: make it readable and "
              "writable for this user, then go on with --next");
}

TEST_F(CounterTest, AStoreThatCannotBeOpenedOrLockedGivesNoId) {
    settings.openError = 5;
    Result<int> id = counter.Reserve();
    ASSERT_FALSE(id.ok());
    EXPECT_NE(id.error().find("cannot open the settings"), std::string::npos) << id.error();
    EXPECT_EQ(lock.acquired, 1);
    RefusingLock refusing;
    IdCounter unlocked(settings, refusing);
    settings.openError = 0;
    Result<int> none = unlocked.Reserve();
    ASSERT_FALSE(none.ok());
    EXPECT_NE(none.error().find("read-only folder"), std::string::npos) << none.error();
    EXPECT_EQ(settings.opens, 1) << "the store is not touched without the lock";
}

}  // namespace
}  // namespace vk930::test
