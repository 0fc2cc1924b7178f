#include "support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <QApplication>

// Every test program of the window runs with a QApplication, drawing offscreen unless told otherwise.
int main(int argc, char** argv)
{
    prepareTestEnvironment();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
