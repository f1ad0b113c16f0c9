#include <gtest/gtest.h>

#include <QProcess>

#include "CloudServer.h"
#include "cloud/PgConnection.h"
#include "support/TestEnvironment.h"

namespace {

struct CliOutcome {
    int exitCode = -1;
    QString out;
    QString err;
};

} // namespace

// zestra-cli cloud, run as a program in a private HOME.
class CloudCommandTest : public ::testing::Test {
protected:
    CliOutcome cli(const QStringList& arguments)
    {
        QProcess process;
        process.start(QStringLiteral(ZESTRA_CLI_PATH),
                      QStringList{QStringLiteral("cloud")} + arguments);
        CliOutcome run;
        if (!process.waitForFinished(60000)) {
            ADD_FAILURE() << "zestra-cli did not finish";
            process.kill();
            process.waitForFinished();
            return run;
        }
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        run.exitCode = process.exitCode();
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    TestEnvironment env;
};

TEST_F(CloudCommandTest, InitCreatesTheSchemaThenFindsItUpToDate)
{
    const QString uri = CloudServer::freshDatabaseUri();
    const CliOutcome first = cli({QStringLiteral("init"), QStringLiteral("--admin"), uri});
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_EQ(first.out, QStringLiteral("Created the cloud schema (version 2).\n"));

    const CliOutcome second = cli({QStringLiteral("init"), QStringLiteral("--admin"), uri});
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_EQ(second.out, QStringLiteral("The cloud schema is up to date (version 2).\n"));
}

TEST_F(CloudCommandTest, AddUserPrintsAUriThatConnectsAndRefusesItTwice)
{
    const QString uri = CloudServer::schemaUri();
    const QString name = CloudServer::uniqueName(QStringLiteral("cli"));
    const QStringList add{QStringLiteral("add-user"),   name,
                          QStringLiteral("--admin"),    uri,
                          QStringLiteral("--quota-mb"), QStringLiteral("3")};
    const CliOutcome added = cli(add);
    ASSERT_EQ(added.exitCode, 0) << added.err.toStdString();
    const QStringList lines = added.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1) << added.out.toStdString();
    const std::unique_ptr<PgConnection> connection = CloudServer::connect(lines.first());
    ASSERT_TRUE(connection);
    EXPECT_EQ(sql(*connection, QStringLiteral("SELECT quota_bytes FROM zestra.accounts")).value(),
              QStringLiteral("3145728"));

    const CliOutcome again = cli(add);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.out.isEmpty());
    EXPECT_TRUE(again.err.contains(QLatin1String("exists already"))) << again.err.toStdString();
}

TEST_F(CloudCommandTest, BadInputAndAnAbsentServerAreSaidApart)
{
    const struct {
        const char* what;
        QStringList arguments;
        int exitCode;
        const char* message;
    } cases[] = {
        {"not a URI",
         {QStringLiteral("init"), QStringLiteral("--admin"), QStringLiteral("nonsense")},
         2,
         "not a PostgreSQL connection URI"},
        {"no server",
         {QStringLiteral("init"), QStringLiteral("--admin"),
          QStringLiteral("postgresql://postgres:x@/postgres?host=") + env.root()},
         1,
         "cannot connect to the server"},
        {"quota not a number",
         {QStringLiteral("add-user"), QStringLiteral("dee"), QStringLiteral("--admin"),
          CloudServer::adminUri(), QStringLiteral("--quota-mb"), QStringLiteral("lots")},
         2,
         "--quota-mb"},
        {"unknown action",
         {QStringLiteral("drop"), QStringLiteral("--admin"), QStringLiteral("x")},
         2,
         "unknown action"},
        {"no admin", {QStringLiteral("init")}, 2, "--admin"},
    };
    for (const auto& each : cases) {
        const CliOutcome run = cli(each.arguments);
        EXPECT_EQ(run.exitCode, each.exitCode) << each.what;
        EXPECT_TRUE(run.err.contains(QLatin1String(each.message)))
            << each.what << ": " << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << each.what;
    }
}
