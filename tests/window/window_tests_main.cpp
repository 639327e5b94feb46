// The window's tests run with a QApplication on the offscreen platform (also when CTest
// lists the tests, which happens without the test environment), in folders of their own.
#include <gtest/gtest.h>

#include <QApplication>

#include "support/private_folders.h"

int main(int argc, char** argv) {
    vk930::test::PrivateFolders folders;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
