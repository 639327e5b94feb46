// The main of the test programs: each process runs in folders of its own.
#include <gtest/gtest.h>

#include "support/private_folders.h"

int main(int argc, char** argv) {
    vk930::test::PrivateFolders folders;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
