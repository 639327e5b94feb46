// Where a window's records are, as its history and its series name them: the shared registry,
// this bench's own log, or none, and why none.
#include "core/app/records_place.h"

#include <gtest/gtest.h>

#include "core/registry/local_registry.h"
#include "core/settings/id_counter.h"
#include "support/memory_journal.h"
#include "support/memory_settings.h"

namespace vk930::test {
namespace {

class RecordsPlaceTest : public ::testing::Test {
  protected:
    MemorySettings settings;
    FreeLock lock;
    IdCounter counter{settings, lock};
    MemoryRecords log;
    LocalRegistry registry{counter, log, "memory"};
};

TEST_F(RecordsPlaceTest, NamesTheSharedRegistryElseThisBenchElseNone) {
    EXPECT_EQ((RecordsPlace{&registry, std::nullopt, "postgresql://tech@db/shop"}).Where(),
              "the shared registry postgresql://tech@db/shop");
    EXPECT_EQ((RecordsPlace{&registry, std::nullopt, ""}).Where(), "this bench (memory)");
    EXPECT_EQ((RecordsPlace{nullptr, "the server is down", ""}).Where(), "no service records");
}

TEST_F(RecordsPlaceTest, WithoutARegistryEveryAnswerSaysWhy) {
    const RecordsPlace broken{nullptr, "the settings store cannot be opened", ""};
    EXPECT_EQ(broken.Problem(), "the settings store cannot be opened");
    const Result<FoundRecords> found = broken.Find({});
    ASSERT_FALSE(found.ok());
    EXPECT_EQ(found.error(), "the settings store cannot be opened");

    const RecordsPlace unexplained{nullptr, std::nullopt, ""};
    EXPECT_EQ(unexplained.Problem(), "the service records cannot be opened");
    ASSERT_FALSE(unexplained.Find({}).ok());
    EXPECT_EQ(unexplained.Find({}).error(), "no service records");

    // With a registry the search is the registry's own (this one keeps no readable log).
    const Result<FoundRecords> local = RecordsPlace{&registry, std::nullopt, ""}.Find({});
    ASSERT_FALSE(local.ok());
    EXPECT_EQ(local.error(), "the service log memory cannot be searched");
}

}  // namespace
}  // namespace vk930::test
