#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QUrl>

#include "CloudServer.h"
#include "cloud/CloudUsers.h"
#include "cloud/PgConnection.h"
#include "support/PrivateBus.h"
#include "support/TestEnvironment.h"

namespace {

// zestra-cli cloud connect and status, as a script runs them, on a private bus.
class CloudConnectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bus.isRunning());
        runtime = env.root() + QStringLiteral("/runtime");
        ASSERT_TRUE(QDir().mkpath(runtime));
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        userUri = CloudServer::newUserUri(QStringLiteral("connect"));
        ASSERT_FALSE(userUri.isEmpty());
    }
    void TearDown() override
    {
        if (keyring.state() != QProcess::NotRunning) {
            keyring.kill();
            keyring.waitForFinished();
        }
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        environment.remove(QStringLiteral("PGPASSFILE"));
        environment.remove(QStringLiteral("PGPASSWORD"));
        return environment;
    }

    int cli(const QStringList& arguments, QString* out = nullptr)
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(QStringLiteral(ZESTRA_CLI_PATH),
                      QStringList{QStringLiteral("cloud")} + arguments);
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        if (out)
            *out = QString::fromUtf8(process.readAllStandardOutput());
        lastError = QString::fromUtf8(process.readAllStandardError()).toStdString();
        return process.exitCode();
    }

    QJsonObject status()
    {
        QString out;
        EXPECT_EQ(cli({QStringLiteral("status")}, &out), 0);
        return QJsonDocument::fromJson(out.toUtf8()).object();
    }

    QString password() const { return QUrl(userUri).password(); }

    QByteArray configuration() const
    {
        QFile file(env.configHome() + QStringLiteral("/Zestra/Zestra.conf"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TestEnvironment env;
    PrivateBus bus;
    QString runtime;
    QString userUri;
    QProcess keyring;
    std::string lastError;
};

TEST_F(CloudConnectTest, WithoutAKeyringThePasswordGoesToLibpqsPrivateFile)
{
    EXPECT_EQ(status().value(QStringLiteral("account")).toString(),
              QStringLiteral("notConfigured"));
    ASSERT_EQ(cli({QStringLiteral("connect"), userUri}), 0) << lastError;

    const QByteArray settings = configuration();
    EXPECT_TRUE(settings.contains("CloudDatabaseURI")) << settings.toStdString();
    EXPECT_FALSE(settings.contains(password().toUtf8()));
    QFile file(QDir::homePath() + QStringLiteral("/.pgpass"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains(password().toUtf8()));
    EXPECT_EQ(file.permissions() &
                  (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
              QFile::Permissions());

    const QJsonObject now = status();
    EXPECT_EQ(now.value(QStringLiteral("account")).toString(), QStringLiteral("available"));
    EXPECT_EQ(now.value(QStringLiteral("pendingOperations")).toInt(-1), 0);
}

TEST_F(CloudConnectTest, WithAKeyringThePasswordIsKeptThereOnly)
{
    keyring.setProcessEnvironment(environment());
    keyring.start(QStringLiteral("gnome-keyring-daemon"),
                  {QStringLiteral("--foreground"), QStringLiteral("--unlock"),
                   QStringLiteral("--components=secrets")});
    if (!keyring.waitForStarted())
        GTEST_SKIP() << "gnome-keyring-daemon is not installed";
    keyring.write("keyring password");
    keyring.waitForBytesWritten();
    keyring.closeWriteChannel();
    // The daemon takes the Secret Service name once the keyring is unlocked.
    QProcess names;
    for (int attempt = 0; attempt < 100; ++attempt) {
        names.setProcessEnvironment(environment());
        names.start(QStringLiteral("dbus-send"),
                    {QStringLiteral("--session"), QStringLiteral("--print-reply"),
                     QStringLiteral("--dest=org.freedesktop.DBus"), QStringLiteral("/"),
                     QStringLiteral("org.freedesktop.DBus.ListNames")});
        names.waitForFinished();
        if (names.readAllStandardOutput().contains("org.freedesktop.secrets"))
            break;
        QThread::msleep(50);
    }

    ASSERT_EQ(cli({QStringLiteral("connect"), userUri}), 0) << lastError;
    EXPECT_FALSE(QFile::exists(QDir::homePath() + QStringLiteral("/.pgpass")));
    EXPECT_FALSE(configuration().contains(password().toUtf8()));
    EXPECT_EQ(status().value(QStringLiteral("account")).toString(), QStringLiteral("available"));
}

TEST_F(CloudConnectTest, WhatIsNoPostgresUriIsRefusedAndNothingIsStored)
{
    EXPECT_EQ(cli({QStringLiteral("connect"), QStringLiteral("mysql://a:b@host/db")}), 2);
    EXPECT_EQ(cli({QStringLiteral("connect"), QStringLiteral("host=/tmp user=x")}), 2);
    EXPECT_FALSE(configuration().contains("CloudDatabaseURI"));
    EXPECT_FALSE(QFile::exists(QDir::homePath() + QStringLiteral("/.pgpass")));
}

} // namespace
