#include <gtest/gtest.h>

#include <memory>

#include <QApplication>

#include "store/Localization.h"
#include "support/PrivateBus.h"
#include "support/TestBus.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A bus of the program's own, before the platform or any test can connect to the
    // developer's (trays, notifications, accessibility); listing the tests needs none.
    std::unique_ptr<PrivateBus> bus;
    // A death test's child runs on its parent's bus, which it inherits; a daemon forked from
    // it would hold the parent's pipe open and keep it waiting.
    if (GTEST_FLAG_GET(internal_run_death_test).empty()) {
        if (!GTEST_FLAG_GET(list_tests))
            bus = std::make_unique<PrivateBus>();
        useOnlyPrivateBus(bus.get());
    }
    QApplication app(argc, argv);
    Localization::addCatalogues(QStringLiteral(":/zestra/i18n"));
    return RUN_ALL_TESTS();
}
