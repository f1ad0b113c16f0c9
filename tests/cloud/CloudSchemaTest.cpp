#include <gtest/gtest.h>

#include "CloudServer.h"
#include "cloud/CloudSchema.h"
#include "cloud/CloudUsers.h"
#include "cloud/PgConnection.h"

namespace {

int latestVersion()
{
    CloudError error;
    const std::optional<QList<CloudSchema::Upgrade>> upgrades = CloudSchema::bundledUpgrades(error);
    EXPECT_TRUE(upgrades) << error.message.toStdString();
    return upgrades ? upgrades->last().version : -1;
}

} // namespace

TEST(CloudSchema, CreatesTheSchemaOnceAndRecordsItsVersion)
{
    const std::unique_ptr<PgConnection> admin =
        CloudServer::connect(CloudServer::freshDatabaseUri());
    ASSERT_TRUE(admin);
    CloudError error;
    const std::optional<CloudSchema::Outcome> first = CloudSchema::upgrade(*admin, error);
    ASSERT_TRUE(first) << error.message.toStdString();
    EXPECT_EQ(first->previousVersion, 0);
    EXPECT_EQ(first->currentVersion, latestVersion());

    const std::optional<CloudSchema::Outcome> second = CloudSchema::upgrade(*admin, error);
    ASSERT_TRUE(second) << error.message.toStdString();
    EXPECT_EQ(second->previousVersion, latestVersion());
    EXPECT_EQ(second->currentVersion, latestVersion());
    const Sql versions =
        sql(*admin, QStringLiteral("SELECT string_agg(version::text, ',' ORDER BY version) "
                                   "FROM zestra.schema_version"));
    ASSERT_TRUE(versions.ok);
    EXPECT_EQ(versions.value(), QStringLiteral("1,2"));
}

TEST(CloudSchema, AFailingUpgradeLeavesTheEarlierOnesInPlace)
{
    const std::unique_ptr<PgConnection> admin =
        CloudServer::connect(CloudServer::freshDatabaseUri());
    ASSERT_TRUE(admin);
    CloudError error;
    QList<CloudSchema::Upgrade> upgrades = *CloudSchema::bundledUpgrades(error);
    const int good = upgrades.last().version;
    upgrades.append({good + 1, QStringLiteral("CREATE TABLE zestra.half_done (x int);"
                                              "SELECT 1 / 0;")});

    EXPECT_FALSE(CloudSchema::upgrade(*admin, upgrades, error));
    EXPECT_EQ(error.sqlState, QStringLiteral("22012"));
    EXPECT_EQ(CloudSchema::installedVersion(*admin, error), good);
    EXPECT_EQ(sql(*admin, QStringLiteral("SELECT to_regclass('zestra.half_done') IS NULL")).value(),
              QStringLiteral("t"));
}

TEST(CloudSchema, ASchemaFromANewerProgramIsLeftAlone)
{
    const std::unique_ptr<PgConnection> admin =
        CloudServer::connect(CloudServer::freshDatabaseUri());
    ASSERT_TRUE(admin);
    CloudError error;
    QList<CloudSchema::Upgrade> newer = *CloudSchema::bundledUpgrades(error);
    newer.append({newer.last().version + 1, QStringLiteral("SELECT 1")});
    ASSERT_TRUE(CloudSchema::upgrade(*admin, newer, error)) << error.message.toStdString();

    EXPECT_FALSE(CloudSchema::upgrade(*admin, error));
    EXPECT_EQ(error.kind, CloudError::Kind::SchemaNewer);
    EXPECT_EQ(CloudSchema::installedVersion(*admin, error), newer.last().version);
}

TEST(CloudSchema, RecordsWrittenBeforeAnUpgradeAreKeptTheBooksOfAfterIt)
{
    const std::unique_ptr<PgConnection> admin =
        CloudServer::connect(CloudServer::freshDatabaseUri());
    ASSERT_TRUE(admin);
    CloudError error;
    const QList<CloudSchema::Upgrade> upgrades = *CloudSchema::bundledUpgrades(error);
    ASSERT_TRUE(CloudSchema::upgrade(*admin, {upgrades.first()}, error))
        << error.message.toStdString();
    const std::optional<CloudUsers::User> user =
        CloudUsers::add(*admin, CloudServer::uniqueName(QStringLiteral("old")), 1 << 20, error);
    ASSERT_TRUE(user) << error.message.toStdString();
    const std::unique_ptr<PgConnection> client = CloudServer::connect(user->uri);
    ASSERT_TRUE(client);
    ASSERT_TRUE(sql(*client, QStringLiteral("INSERT INTO zestra.zones (zone_name) "
                                            "VALUES ('SessionsZone')"))
                    .ok);
    ASSERT_TRUE(sql(*client, QStringLiteral("INSERT INTO zestra.records "
                                            "(zone_name, record_type, fields) "
                                            "VALUES ('SessionsZone', 'Session', '{}')"))
                    .ok);

    ASSERT_TRUE(CloudSchema::upgrade(*admin, error)) << error.message.toStdString();
    const QString before =
        sql(*client, QStringLiteral("SELECT change_counter FROM zestra.accounts")).value();
    const Sql updated = sql(*client, QStringLiteral("UPDATE zestra.records SET fields = "
                                                    "'{\"tasksCount\": {\"type\": \"int64\", "
                                                    "\"value\": 4}}' RETURNING changed_counter"));
    ASSERT_TRUE(updated.ok) << updated.error.message.toStdString();
    EXPECT_GT(updated.value().toLongLong(), before.toLongLong());
    ASSERT_TRUE(sql(*client, QStringLiteral("DELETE FROM zestra.records")).ok);
    const Sql books =
        sql(*client, QStringLiteral("SELECT usage_bytes, change_counter, "
                                    "(SELECT changed_counter FROM zestra.tombstones), "
                                    "(SELECT changed_counter FROM zestra.zones) "
                                    "FROM zestra.accounts"));
    ASSERT_TRUE(books.ok) << books.error.message.toStdString();
    const QStringList row = books.rows.value(0);
    EXPECT_EQ(row.value(0), QStringLiteral("0"));
    EXPECT_GT(row.value(2).toLongLong(), updated.value().toLongLong());
    EXPECT_EQ(row.value(2), row.value(1));
    EXPECT_EQ(row.value(3), row.value(1));
}
