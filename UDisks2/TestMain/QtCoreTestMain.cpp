#include <QCoreApplication>
#include <gtest/gtest.h>

// Buses, timers and queued calls need an application object for the whole run; no display.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
