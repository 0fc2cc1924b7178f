#include "support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <QCoreApplication>

// Every test program of the procedures runs with a QCoreApplication: they show no window.
int main(int argc, char** argv)
{
    prepareTestEnvironment();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
