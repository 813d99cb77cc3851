#include <QCoreApplication>

#include <gtest/gtest.h>

// Some tests run the Qt event loop (the thread-to-main-thread queue), so the
// whole test program has one application object.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
