#include <gtest/gtest.h>

#include <QApplication>

#include "store/Localization.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Localization::addCatalogues(QStringLiteral(":/zestra/i18n"));
    return RUN_ALL_TESTS();
}
