#include <gtest/gtest.h>

#include <memory>

#include <QCoreApplication>

#include "support/PrivateBus.h"
#include "support/TestBus.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // A bus of the program's own, before anything can connect to the developer's; listing
    // the tests needs none.
    std::unique_ptr<PrivateBus> bus;
    // A death test's child runs on its parent's bus, which it inherits; a daemon forked from
    // it would hold the parent's pipe open and keep it waiting.
    if (GTEST_FLAG_GET(internal_run_death_test).empty()) {
        if (!GTEST_FLAG_GET(list_tests))
            bus = std::make_unique<PrivateBus>();
        useOnlyPrivateBus(bus.get());
    }
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
