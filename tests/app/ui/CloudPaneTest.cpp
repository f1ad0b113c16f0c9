#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>

#include "settings/Settings.h"
#include "store/Localization.h"
#include "support/TestEnvironment.h"
#include "ui/CloudConnectionForm.h"
#include "ui/CloudPreferencesViewController.h"
#include "ui/SettingsWindowController.h"

namespace {

TEST(CloudConnectionFormTest, TheFieldsMakeAUriWithTheUserAndNoPassword)
{
    QString error;
    const auto made = CloudConnectionForm::connection(
        {QStringLiteral(" postgresql://db.example.org:6432/zestra?sslmode=require "),
         QStringLiteral("ada"), QStringLiteral("p@ss:word")},
        error);
    ASSERT_TRUE(made) << error.toStdString();
    EXPECT_EQ(made->uri,
              QStringLiteral("postgresql://ada@db.example.org:6432/zestra?sslmode=require"));
    EXPECT_EQ(made->user, QStringLiteral("ada"));
    EXPECT_EQ(made->password, QStringLiteral("p@ss:word"));

    const CloudConnectionForm::Fields back = CloudConnectionForm::fields(made->uri);
    EXPECT_EQ(back.server,
              QStringLiteral("postgresql://db.example.org:6432/zestra?sslmode=require"));
    EXPECT_EQ(back.user, QStringLiteral("ada"));

    // A user written into the server's address counts; none at all does not.
    EXPECT_TRUE(CloudConnectionForm::connection(
        {QStringLiteral("postgresql://bob@host/db"), QString(), QString()}, error));
    EXPECT_FALSE(CloudConnectionForm::connection(
        {QStringLiteral("postgresql://host/db"), QString(), QString()}, error));
    EXPECT_EQ(error, Localization::text("CLOUD_PANE_ERROR_USER"));
    EXPECT_FALSE(CloudConnectionForm::connection(
        {QStringLiteral("mysql://host/db"), QStringLiteral("ada"), QString()}, error));
    EXPECT_EQ(error, Localization::text("CLOUD_PANE_ERROR_SERVER"));
}

class CloudPaneTest : public ::testing::Test {
protected:
    TestEnvironment env;
    Settings settings;
};

TEST_F(CloudPaneTest, SavingKeepsThePasswordOutOfTheSettings)
{
    SettingsWindowController window(settings);
    window.buttonCloud->click();
    CloudPreferencesViewController* pane = window.viewcontrollerCloud;
    ASSERT_EQ(window.content(), pane);
    EXPECT_FALSE(pane->buttonSyncNow->isEnabled());

    pane->textServer->setText(QStringLiteral("postgresql://db.example.org/zestra"));
    pane->textUser->setText(QStringLiteral("ada"));
    pane->textPassword->setText(QStringLiteral("s3cret-pw"));
    ASSERT_TRUE(pane->doSaveButtonTap()) << pane->labelStatus->text().toStdString();

    EXPECT_EQ(settings.stringValue(QLatin1String(Settings::CloudDatabaseURI)),
              QStringLiteral("postgresql://ada@db.example.org/zestra"));
    QFile conf(env.configHome() + QStringLiteral("/Zestra/Zestra.conf"));
    ASSERT_TRUE(conf.open(QIODevice::ReadOnly));
    EXPECT_FALSE(conf.readAll().contains("s3cret-pw"));
    // The private test bus has no keyring: libpq's own file takes it.
    QFile pgpass(QDir::homePath() + QStringLiteral("/.pgpass"));
    ASSERT_TRUE(pgpass.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pgpass.readAll().contains("s3cret-pw"));

    pane->reload();
    EXPECT_EQ(pane->textServer->text(), QStringLiteral("postgresql://db.example.org/zestra"));
    EXPECT_EQ(pane->textUser->text(), QStringLiteral("ada"));
    EXPECT_TRUE(pane->textPassword->text().isEmpty());
}

TEST_F(CloudPaneTest, ATestOfAServerThatIsNotThereSaysSo)
{
    int syncs = 0;
    CloudPreferencesViewController pane(settings, {[&syncs] { ++syncs; }, {}});
    pane.textServer->setText(QStringLiteral("postgresql:///zestra?host=") + env.root() +
                             QStringLiteral("/no-server"));
    pane.textUser->setText(QStringLiteral("ada"));
    QSignalSpy finished(&pane, &CloudPreferencesViewController::testFinished);
    pane.buttonTest->click();
    EXPECT_FALSE(pane.buttonTest->isEnabled());
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_FALSE(finished.first().first().toBool());
    EXPECT_TRUE(pane.labelStatus->text().startsWith(
        Localization::text("CLOUD_PANE_TEST_FAILED").section(QLatin1Char('%'), 0, 0)));
    EXPECT_TRUE(pane.buttonTest->isEnabled());
    EXPECT_FALSE(settings.stringValue(QLatin1String(Settings::CloudDatabaseURI)));

    pane.buttonSyncNow->click();
    EXPECT_EQ(syncs, 1);
}

// Pictures for a person to look at; only when asked for.
TEST_F(CloudPaneTest, Screenshot)
{
    const QString folder = qEnvironmentVariable("ZESTRA_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZESTRA_SHOTS to a folder to save pictures";
    ASSERT_TRUE(QDir().mkpath(folder));
    settings.setString(QLatin1String(Settings::CloudDatabaseURI),
                       QStringLiteral("postgresql://ada@db.example.org/zestra?sslmode=require"));
    settings.setString(QLatin1String(Settings::CloudLastSync), QStringLiteral("818171000"));
    SettingsWindowController window(settings, {{}, {}, {}, {[] {}, {}}});
    window.buttonCloud->click();
    window.resize(560, 460);
    window.viewcontrollerCloud->labelStatus->setText(Localization::text("CLOUD_PANE_TEST_OK"));
    window.viewcontrollerCloud->labelStatus->setStyleSheet(QStringLiteral("color: #2e7d32;"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.grab().save(folder + QStringLiteral("/settings-cloud.png")));
}

} // namespace
