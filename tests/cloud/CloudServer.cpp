#include "CloudServer.h"

#include <gtest/gtest.h>

#include <atomic>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "cloud/CloudSchema.h"
#include "cloud/CloudUsers.h"
#include "cloud/PgConnection.h"

namespace {

QString startedUri;
QString serverFolder;

QString runScript(const QString& action, const QString& folder, bool& ok)
{
    QProcess script;
    script.start(QStringLiteral("bash"), {QStringLiteral(ZESTRA_CLOUD_DEV_SERVER), action, folder});
    ok = script.waitForFinished(180000) && script.exitStatus() == QProcess::NormalExit &&
         script.exitCode() == 0;
    const QString out = QString::fromUtf8(script.readAllStandardOutput()).trimmed();
    if (!ok)
        ADD_FAILURE() << "cloud-dev-server.sh " << action.toStdString() << " failed:\n"
                      << script.readAllStandardError().toStdString();
    return out.section(u'\n', -1);
}

class ServerEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // A server run as another user (when the tests run as root) has to reach its folder.
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ExeGroup | QFile::ExeOther);
        bool ok = false;
        serverFolder = folder();
        startedUri = runScript(QStringLiteral("start"), folder(), ok);
        ASSERT_TRUE(ok);
        ASSERT_TRUE(startedUri.startsWith(QLatin1String("postgresql://")))
            << startedUri.toStdString();
    }

    void TearDown() override
    {
        bool ok = false;
        runScript(QStringLiteral("stop"), folder(), ok);
        EXPECT_TRUE(ok);
    }

private:
    QString folder() const { return m_dir.filePath(QStringLiteral("server")); }

    QTemporaryDir m_dir;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

} // namespace

QString CloudServer::adminUri()
{
    EXPECT_FALSE(startedUri.isEmpty()) << "no server was started";
    return startedUri;
}

QString CloudServer::uriForDatabase(const QString& uri, const QString& database)
{
    const qsizetype slash = uri.indexOf(u'/', uri.indexOf(u'@'));
    const qsizetype query = uri.indexOf(u'?', slash);
    return uri.left(slash + 1) + database + (query < 0 ? QString() : uri.mid(query));
}

QString CloudServer::freshDatabaseUri()
{
    const QString name = uniqueName(QStringLiteral("db"));
    const std::unique_ptr<PgConnection> admin = connect(adminUri());
    if (admin) {
        const Sql created = sql(*admin, QStringLiteral("CREATE DATABASE ") + name);
        EXPECT_TRUE(created.ok) << created.error.message.toStdString();
    }
    return uriForDatabase(adminUri(), name);
}

QString CloudServer::schemaUri()
{
    static bool made = false;
    if (!made) {
        const std::unique_ptr<PgConnection> admin = connect(adminUri());
        CloudError error;
        made = admin && CloudSchema::upgrade(*admin, error).has_value();
        EXPECT_TRUE(made) << error.message.toStdString();
    }
    return adminUri();
}

QString CloudServer::newUserUri(const QString& stem, qint64 quotaBytes)
{
    const std::unique_ptr<PgConnection> admin = connect(schemaUri());
    if (!admin)
        return QString();
    CloudError error;
    const std::optional<CloudUsers::User> user =
        CloudUsers::add(*admin, uniqueName(stem),
                        quotaBytes > 0 ? quotaBytes : CloudUsers::defaultQuotaBytes, error);
    EXPECT_TRUE(user) << error.message.toStdString();
    return user ? user->uri : QString();
}

QString CloudServer::uniqueName(const QString& stem)
{
    static std::atomic<int> next{0};
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return stem + u'_' + QString::number(++next) + u'_' +
           (test ? QString::fromLatin1(test->name()).left(30).toLower() : QString());
}

bool CloudServer::stop()
{
    bool ok = false;
    runScript(QStringLiteral("stop"), serverFolder, ok);
    return ok;
}

bool CloudServer::start()
{
    bool ok = false;
    runScript(QStringLiteral("start"), serverFolder, ok);
    return ok;
}

std::unique_ptr<PgConnection> CloudServer::connect(const QString& uri)
{
    CloudError error;
    std::unique_ptr<PgConnection> connection = PgConnection::open(uri, error);
    EXPECT_TRUE(connection) << error.message.toStdString();
    return connection;
}

Sql sql(PgConnection& connection, const QString& statement, const QStringList& parameters)
{
    Sql result;
    const std::optional<QList<QStringList>> rows =
        connection.query(statement, parameters, result.error);
    result.ok = rows.has_value();
    if (rows)
        result.rows = *rows;
    return result;
}
