#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "store/Localization.h"
#include "ui/AboutWindowController.h"

namespace {

class AboutWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<AboutWindowController> openWindow()
    {
        return std::make_unique<AboutWindowController>([this](const QUrl& url) {
            opened.append(url);
            return true;
        });
    }

    QList<QUrl> opened;
};

TEST_F(AboutWindowTest, ButtonsOpenTheProjectsPages)
{
    auto window = openWindow();
    QTest::mouseClick(window->buttonWebsite, Qt::LeftButton);
    QTest::mouseClick(window->buttonSupport, Qt::LeftButton);
    EXPECT_EQ(opened, QList<QUrl>({QUrl(QStringLiteral("https://zestra.org")),
                                   QUrl(QStringLiteral("https://zestra.org/support"))}));
}

TEST_F(AboutWindowTest, ShowsNameVersionAndCredits)
{
    const QString previous = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationVersion(QStringLiteral("2.3.4"));
    auto window = openWindow();
    QCoreApplication::setApplicationVersion(previous);

    EXPECT_EQ(window->windowTitle(), QStringLiteral("About Zestra"));
    EXPECT_EQ(window->labelName->text(), QStringLiteral("Zestra"));
    EXPECT_EQ(window->labelVersion->text(), QStringLiteral("Version 2.3.4"));
    EXPECT_EQ(window->labelCredits->text(), Localization::text("ABOUT_CREDITS"));
    EXPECT_FALSE(window->labelLogo->pixmap().isNull());
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(AboutWindowTest, VersionFallsBackToTheBuildsOwn)
{
    const QString previous = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationVersion(QString());
    EXPECT_FALSE(AboutWindowController::versionText().isEmpty());
    QCoreApplication::setApplicationVersion(previous);
}

TEST_F(AboutWindowTest, Screenshot)
{
    const QString folder = qEnvironmentVariable("ZESTRA_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZESTRA_SHOTS to a folder to save pictures";
    QDir().mkpath(folder);
    auto window = openWindow();
    window->show();
    EXPECT_TRUE(window->grab().save(folder + QStringLiteral("/about.png")));
}

} // namespace
