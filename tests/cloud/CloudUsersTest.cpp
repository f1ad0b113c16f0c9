#include <gtest/gtest.h>

#include <QRegularExpression>

#include "CloudServer.h"
#include "cloud/CloudUsers.h"
#include "cloud/PgConnection.h"

class CloudUsersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        admin = CloudServer::connect(CloudServer::schemaUri());
        ASSERT_TRUE(admin);
    }

    std::optional<CloudUsers::User> add(const QString& name, qint64 quota = 5 * 1024 * 1024)
    {
        return CloudUsers::add(*admin, name, quota, error);
    }

    std::unique_ptr<PgConnection> admin;
    CloudError error;
};

TEST_F(CloudUsersTest, TheUriConnectsAsTheUserToItsOwnAccount)
{
    const QString name = CloudServer::uniqueName(QStringLiteral("ada"));
    const std::optional<CloudUsers::User> user = add(name);
    ASSERT_TRUE(user) << error.message.toStdString();

    const std::unique_ptr<PgConnection> connection = CloudServer::connect(user->uri);
    ASSERT_TRUE(connection);
    const Sql account =
        sql(*connection, QStringLiteral("SELECT current_user, owner, quota_bytes, "
                                        "usage_bytes, channel FROM zestra.accounts"));
    ASSERT_TRUE(account.ok) << account.error.message.toStdString();
    ASSERT_EQ(account.rows.size(), 1);
    EXPECT_EQ(account.rows[0][0], name);
    EXPECT_EQ(account.rows[0][1], name);
    EXPECT_EQ(account.rows[0][2], QStringLiteral("5242880"));
    EXPECT_EQ(account.rows[0][3], QStringLiteral("0"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^zestra_[0-9a-f]{32}$"))
                    .match(account.rows[0][4])
                    .hasMatch())
        << account.rows[0][4].toStdString();
}

TEST_F(CloudUsersTest, AnExistingUserIsRefusedAndKeepsItsPassword)
{
    const QString name = CloudServer::uniqueName(QStringLiteral("bea"));
    const std::optional<CloudUsers::User> first = add(name);
    ASSERT_TRUE(first) << error.message.toStdString();

    EXPECT_FALSE(add(name, 1));
    EXPECT_EQ(error.kind, CloudError::Kind::UserExists);
    EXPECT_TRUE(error.message.contains(name));
    const std::unique_ptr<PgConnection> connection = CloudServer::connect(first->uri);
    ASSERT_TRUE(connection);
    EXPECT_EQ(sql(*connection, QStringLiteral("SELECT quota_bytes FROM zestra.accounts")).value(),
              QStringLiteral("5242880"));
}

TEST_F(CloudUsersTest, AHostileNameIsJustAName)
{
    const QString name = QStringLiteral("x\"; DROP ROLE postgres; --");
    const std::optional<CloudUsers::User> user = add(name);
    ASSERT_TRUE(user) << error.message.toStdString();

    EXPECT_EQ(sql(*admin,
                  QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname IN ($1, "
                                 "'postgres')"),
                  {name})
                  .value(),
              QStringLiteral("2"));
    const std::unique_ptr<PgConnection> connection = CloudServer::connect(user->uri);
    ASSERT_TRUE(connection);
    EXPECT_EQ(sql(*connection, QStringLiteral("SELECT owner FROM zestra.accounts")).value(), name);
}

TEST_F(CloudUsersTest, NamesNoRoleCanHaveAreRefusedBeforeAnythingIsMade)
{
    const QStringList names{QString(), QStringLiteral("pg_cloud"), QString(64, u'n'),
                            QStringLiteral("two\nlines")};
    for (const QString& name : names) {
        EXPECT_FALSE(add(name)) << name.toStdString();
        EXPECT_EQ(error.kind, CloudError::Kind::InvalidName) << name.toStdString();
        EXPECT_EQ(
            sql(*admin, QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname = $1"), {name})
                .value(),
            QStringLiteral("0"));
    }
}

TEST_F(CloudUsersTest, DeletingAnAccountTakesAllItsRowsAlong)
{
    const QString name = CloudServer::uniqueName(QStringLiteral("dan"));
    const std::optional<CloudUsers::User> user = add(name);
    ASSERT_TRUE(user) << error.message.toStdString();
    const std::unique_ptr<PgConnection> connection = CloudServer::connect(user->uri);
    ASSERT_TRUE(connection);
    for (const QString& statement :
         {QStringLiteral("INSERT INTO zestra.zones (zone_name) VALUES ('GoalsZone')"),
          QStringLiteral("INSERT INTO zestra.records (zone_name, record_type) "
                         "VALUES ('GoalsZone', 'Goal'), ('GoalsZone', 'Goal')"),
          QStringLiteral("DELETE FROM zestra.records WHERE record_name = "
                         "(SELECT min(record_name::text)::uuid FROM zestra.records)"),
          QStringLiteral("INSERT INTO zestra.assets (record_name, field, data) "
                         "SELECT record_name, 'image', 'bytes' FROM zestra.records")}) {
        const Sql done = sql(*connection, statement);
        ASSERT_TRUE(done.ok) << statement.toStdString() << ": " << done.error.message.toStdString();
    }

    const Sql deleted =
        sql(*admin, QStringLiteral("DELETE FROM zestra.accounts WHERE owner = $1"), {name});
    ASSERT_TRUE(deleted.ok) << deleted.error.message.toStdString();
    EXPECT_EQ(sql(*admin,
                  QStringLiteral("SELECT (SELECT count(*) FROM zestra.zones WHERE owner = $1)"
                                 " + (SELECT count(*) FROM zestra.records WHERE owner = $1)"
                                 " + (SELECT count(*) FROM zestra.assets WHERE owner = $1)"
                                 " + (SELECT count(*) FROM zestra.tombstones WHERE owner = $1)"),
                  {name})
                  .value(),
              QStringLiteral("0"));
}

TEST_F(CloudUsersTest, ADatabaseWithoutTheSchemaGetsNoUser)
{
    const std::unique_ptr<PgConnection> bare =
        CloudServer::connect(CloudServer::freshDatabaseUri());
    ASSERT_TRUE(bare);
    const QString name = CloudServer::uniqueName(QStringLiteral("cy"));
    EXPECT_FALSE(CloudUsers::add(*bare, name, 1, error));
    EXPECT_EQ(error.kind, CloudError::Kind::SchemaMissing);
    EXPECT_EQ(
        sql(*admin, QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname = $1"), {name})
            .value(),
        QStringLiteral("0"));
}
