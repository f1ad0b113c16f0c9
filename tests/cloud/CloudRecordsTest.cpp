#include <gtest/gtest.h>

#include <cstring>

#include <sys/select.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <libpq-fe.h>

#include "CloudServer.h"
#include "cloud/CloudUsers.h"
#include "cloud/PgConnection.h"

namespace {

const QString quotaExceeded = QStringLiteral("ZQ001");
const QString changedOnServer = QStringLiteral("ZT001");
const QString insufficientPrivilege = QStringLiteral("42501");

const QString insertRecord =
    QStringLiteral("INSERT INTO zestra.records (zone_name, record_type, fields) "
                   "VALUES ($1, $2, $3::jsonb) RETURNING record_name, change_tag, changed_counter");

QString sessionFields(int tasks)
{
    return QStringLiteral("{\"tasksCount\": {\"type\": \"int64\", \"value\": %1}}").arg(tasks);
}

struct Notification {
    QString channel;
    QString payload;
    int senderPid = 0;
};

// The notifications that arrive within `bound` seconds of waiting for the first one.
QList<Notification> notifications(PgConnection& listener, int bound = 10)
{
    PGconn* connection = listener.handle();
    QList<Notification> received;
    const auto drain = [&] {
        PQconsumeInput(connection);
        while (PGnotify* notify = PQnotifies(connection)) {
            received.append({QString::fromUtf8(notify->relname), QString::fromUtf8(notify->extra),
                             notify->be_pid});
            PQfreemem(notify);
        }
    };
    drain();
    if (received.isEmpty()) {
        fd_set sockets;
        FD_ZERO(&sockets);
        FD_SET(PQsocket(connection), &sockets);
        timeval timeout{bound, 0};
        select(PQsocket(connection) + 1, &sockets, nullptr, nullptr, &timeout);
        drain();
    }
    return received;
}

} // namespace

// Two users of one server, each with a session zone.
class CloudRecordsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        admin = CloudServer::connect(CloudServer::schemaUri());
        ASSERT_TRUE(admin);
        a = user(QStringLiteral("a"), 1024 * 1024);
        b = user(QStringLiteral("b"), 1024 * 1024);
        ASSERT_TRUE(a && b);
        for (PgConnection* connection : {a.get(), b.get()}) {
            const Sql zone =
                sql(*connection, QStringLiteral("INSERT INTO zestra.zones (zone_name) VALUES ($1)"),
                    {zoneName});
            ASSERT_TRUE(zone.ok) << zone.error.message.toStdString();
        }
    }

    std::unique_ptr<PgConnection> user(const QString& stem, qint64 quota)
    {
        CloudError error;
        const std::optional<CloudUsers::User> added =
            CloudUsers::add(*admin, CloudServer::uniqueName(stem), quota, error);
        EXPECT_TRUE(added) << error.message.toStdString();
        uris.append(added ? added->uri : QString());
        return added ? CloudServer::connect(added->uri) : nullptr;
    }

    // record_name, change_tag, changed_counter
    QStringList save(PgConnection& connection, const QString& fields = sessionFields(1))
    {
        const Sql saved =
            sql(connection, insertRecord, {zoneName, QStringLiteral("Session"), fields});
        EXPECT_TRUE(saved.ok) << saved.error.message.toStdString();
        return saved.ok ? saved.rows.first() : QStringList{QString(), QString(), QString()};
    }

    QString token(PgConnection& connection)
    {
        return sql(connection, QStringLiteral("SELECT change_counter FROM zestra.accounts"))
            .value();
    }

    const QString zoneName = QStringLiteral("SessionsZone");
    std::unique_ptr<PgConnection> admin;
    QStringList uris;
    std::unique_ptr<PgConnection> a;
    std::unique_ptr<PgConnection> b;
};

TEST_F(CloudRecordsTest, AUserCannotReachAnotherUsersRowsEvenByName)
{
    const QString name = save(*a).first();

    const QString byName = QStringLiteral(" WHERE record_name = $1::uuid RETURNING record_name");
    EXPECT_TRUE(
        sql(*b, QStringLiteral("SELECT * FROM zestra.records WHERE record_name = $1"), {name})
            .rows.isEmpty());
    EXPECT_TRUE(sql(*b, QStringLiteral("UPDATE zestra.records SET fields = '{}'") + byName, {name})
                    .rows.isEmpty());
    EXPECT_TRUE(
        sql(*b, QStringLiteral("DELETE FROM zestra.records") + byName, {name}).rows.isEmpty());
    EXPECT_FALSE(sql(*b,
                     QStringLiteral("INSERT INTO zestra.assets (record_name, field, data) "
                                    "VALUES ($1, 'image', 'x')"),
                     {name})
                     .ok);
    EXPECT_EQ(sql(*b, QStringLiteral("SELECT count(*) FROM zestra.accounts")).value(),
              QStringLiteral("1"));
    EXPECT_EQ(sql(*b, QStringLiteral("SELECT count(*) FROM zestra.zones")).value(),
              QStringLiteral("1"));

    // Nor write in another's name, nor keep its own books.
    const QString aName = sql(*a, QStringLiteral("SELECT current_user")).value();
    for (const QString& statement :
         {QStringLiteral("INSERT INTO zestra.records (owner, zone_name, record_type) "
                         "VALUES ($1, 'SessionsZone', 'Session')"),
          QStringLiteral("SELECT zestra.account_change($1, -1000000)"),
          QStringLiteral("SELECT zestra.account_books($1, -1000000, 0)"),
          QStringLiteral("SELECT zestra.statement_counter($1)"),
          QStringLiteral("SELECT zestra.notify_owner($1)"),
          QStringLiteral("UPDATE zestra.accounts SET quota_bytes = 1 WHERE owner = $1")}) {
        const Sql refused = sql(*b, statement, {aName});
        EXPECT_FALSE(refused.ok) << statement.toStdString();
        EXPECT_EQ(refused.error.sqlState, insufficientPrivilege) << statement.toStdString();
    }
    EXPECT_EQ(sql(*a, QStringLiteral("SELECT count(*) FROM zestra.records")).value(),
              QStringLiteral("1"));

    // Nor learn the secret channel a connection of the first user waits on.
    const QString channel = sql(*a, QStringLiteral("SELECT channel FROM zestra.accounts")).value();
    CloudError error;
    ASSERT_TRUE(sql(*a, QStringLiteral("LISTEN ") + *a->quotedIdentifier(channel, error)).ok);
    QString seen;
    for (const QString& statement :
         {QStringLiteral("SELECT string_agg(coalesce(query, '') || application_name, ' ') "
                         "FROM pg_stat_activity"),
          QStringLiteral("SELECT string_agg(channel, ' ') FROM zestra.accounts"),
          QStringLiteral("SELECT string_agg(name, ' ') FROM pg_listening_channels() AS name")})
        seen += sql(*b, statement).value();
    EXPECT_FALSE(seen.isEmpty());
    EXPECT_FALSE(seen.contains(channel));
}

TEST_F(CloudRecordsTest, ChangesAfterATokenAreExactlyTheLaterOnes)
{
    const QString kept = save(*a).first();
    const QString updated = save(*a).first();
    const QString deleted = save(*a).first();
    const QString before = token(*a);
    const QString added = save(*a).first();
    ASSERT_TRUE(sql(*a,
                    QStringLiteral("UPDATE zestra.records SET fields = $2::jsonb "
                                   "WHERE record_name = $1"),
                    {updated, sessionFields(2)})
                    .ok);
    ASSERT_TRUE(
        sql(*a, QStringLiteral("DELETE FROM zestra.records WHERE record_name = $1"), {deleted}).ok);

    const Sql changed = sql(*a,
                            QStringLiteral("SELECT record_name FROM zestra.records "
                                           "WHERE zone_name = $1 AND changed_counter > $2::bigint "
                                           "ORDER BY changed_counter"),
                            {zoneName, before});
    ASSERT_EQ(changed.rows.size(), 2);
    EXPECT_EQ(changed.rows[0][0], added);
    EXPECT_EQ(changed.rows[1][0], updated);
    const Sql gone = sql(*a,
                         QStringLiteral("SELECT record_name, record_type FROM zestra.tombstones "
                                        "WHERE zone_name = $1 AND changed_counter > $2::bigint"),
                         {zoneName, before});
    ASSERT_EQ(gone.rows.size(), 1);
    EXPECT_EQ(gone.rows[0], (QStringList{deleted, QStringLiteral("Session")}));
    const QString zones = QStringLiteral(
        "SELECT string_agg(zone_name, ',') FROM zestra.zones WHERE changed_counter > $1::bigint");
    EXPECT_EQ(sql(*a, zones, {before}).value(), zoneName);
    EXPECT_EQ(sql(*a, zones, {token(*a)}).value(), QString());
    EXPECT_EQ(token(*a).toLongLong(), before.toLongLong() + 3);
    EXPECT_NE(kept, QString());
}

// The counter value of a commit that was still open when a reader took its token is
// larger than that token, so the reader's next fetch finds it.
TEST_F(CloudRecordsTest, ALateCommitIsNotSkipped)
{
    const std::unique_ptr<PgConnection> writer = CloudServer::connect(uris.first());
    ASSERT_TRUE(writer);
    ASSERT_TRUE(sql(*writer, QStringLiteral("BEGIN")).ok);
    const QString late = save(*writer).first();
    const QString seen = token(*a);
    const Sql visible =
        sql(*a,
            QStringLiteral("SELECT count(*) FROM zestra.records "
                           "WHERE changed_counter <= $1::bigint AND record_name = $2"),
            {seen, late});
    ASSERT_TRUE(sql(*writer, QStringLiteral("COMMIT")).ok);

    EXPECT_EQ(visible.value(), QStringLiteral("0"));
    EXPECT_EQ(sql(*a,
                  QStringLiteral("SELECT record_name FROM zestra.records "
                                 "WHERE changed_counter > $1::bigint"),
                  {seen})
                  .value(),
              late);
}

// A second writer waits for the first one's commit, so counter values commit in order.
TEST_F(CloudRecordsTest, WritersOfOneUserCommitInCounterOrder)
{
    const std::unique_ptr<PgConnection> second = CloudServer::connect(uris.first());
    ASSERT_TRUE(second);
    ASSERT_TRUE(sql(*a, QStringLiteral("BEGIN")).ok);
    const qint64 first = save(*a).at(2).toLongLong();

    const QByteArray statement = insertRecord.toUtf8();
    const QByteArray zone = zoneName.toUtf8();
    const QByteArray fields = sessionFields(2).toUtf8();
    const char* values[] = {zone.constData(), "Session", fields.constData()};
    ASSERT_EQ(PQsendQueryParams(second->handle(), statement.constData(), 3, nullptr, values,
                                nullptr, nullptr, 0),
              1);
    const QString waiting = QStringLiteral("SELECT count(*) FROM pg_stat_activity "
                                           "WHERE pid = $1::int AND wait_event_type = 'Lock'");
    const QString pid = QString::number(PQbackendPID(second->handle()));
    bool blocked = false;
    for (int attempt = 0; attempt < 20000 && !blocked; ++attempt)
        blocked = sql(*admin, waiting, {pid}).value() == QLatin1String("1");
    EXPECT_TRUE(blocked);
    ASSERT_TRUE(sql(*a, QStringLiteral("COMMIT")).ok);

    PGresult* result = PQgetResult(second->handle());
    ASSERT_EQ(PQresultStatus(result), PGRES_TUPLES_OK) << PQresultErrorMessage(result);
    EXPECT_EQ(QByteArray(PQgetvalue(result, 0, 2)).toLongLong(), first + 1);
    PQclear(result);
    EXPECT_EQ(PQgetResult(second->handle()), nullptr);
}

TEST_F(CloudRecordsTest, ASaveWithAStaleChangeTagIsRefused)
{
    const QStringList saved = save(*a);
    const QString update = QStringLiteral("UPDATE zestra.records SET fields = $3::jsonb, "
                                          "change_tag = $2::uuid WHERE record_name = $1 "
                                          "RETURNING change_tag");
    const Sql first = sql(*a, update, {saved[0], saved[1], sessionFields(2)});
    ASSERT_TRUE(first.ok) << first.error.message.toStdString();
    EXPECT_NE(first.value(), saved[1]);

    const Sql stale = sql(*a, update, {saved[0], saved[1], sessionFields(3)});
    EXPECT_FALSE(stale.ok);
    EXPECT_EQ(stale.error.sqlState, changedOnServer);
    EXPECT_EQ(sql(*a, QStringLiteral("SELECT fields->'tasksCount'->>'value' FROM zestra.records"))
                  .value(),
              QStringLiteral("2"));
}

TEST_F(CloudRecordsTest, GoingOverTheQuotaRaisesTheQuotaError)
{
    const QString name = save(*a).first();
    const QString asset =
        QStringLiteral("INSERT INTO zestra.assets (record_name, field, data) "
                       "VALUES ($1, $2, convert_to(repeat('x', $3::int), 'UTF8'))");
    const QString usage = QStringLiteral("SELECT usage_bytes FROM zestra.accounts");
    const QString before = sql(*a, usage).value();

    const Sql tooBig = sql(*a, asset, {name, QStringLiteral("image"), QStringLiteral("1048576")});
    EXPECT_FALSE(tooBig.ok);
    EXPECT_EQ(tooBig.error.sqlState, quotaExceeded);
    EXPECT_TRUE(tooBig.error.message.contains(QLatin1String("quota exceeded")));
    EXPECT_EQ(sql(*a, usage).value(), before);

    ASSERT_TRUE(sql(*a, asset, {name, QStringLiteral("image"), QStringLiteral("600000")}).ok);
    EXPECT_EQ(sql(*a, usage).value().toLongLong(), before.toLongLong() + 600000);
    EXPECT_EQ(sql(*a, asset, {name, QStringLiteral("thumbnail"), QStringLiteral("600000")})
                  .error.sqlState,
              quotaExceeded);
    ASSERT_TRUE(
        sql(*a, QStringLiteral("DELETE FROM zestra.records WHERE record_name = $1"), {name}).ok);
    EXPECT_EQ(sql(*a, usage).value(), QStringLiteral("0"));
}

TEST_F(CloudRecordsTest, OnlyACommittedChangeNotifiesTheUsersChannel)
{
    const std::unique_ptr<PgConnection> listener = CloudServer::connect(uris.first());
    ASSERT_TRUE(listener);
    const QString channel =
        sql(*listener, QStringLiteral("SELECT channel FROM zestra.accounts")).value();
    CloudError error;
    ASSERT_TRUE(
        sql(*listener, QStringLiteral("LISTEN ") + *listener->quotedIdentifier(channel, error)).ok);

    ASSERT_TRUE(sql(*a, QStringLiteral("BEGIN")).ok);
    save(*a);
    ASSERT_TRUE(sql(*a, QStringLiteral("ROLLBACK")).ok);
    save(*b);
    save(*a);

    const QList<Notification> received = notifications(*listener);
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0].channel, channel);
    EXPECT_EQ(received[0].payload, QString());
    EXPECT_EQ(received[0].senderPid, PQbackendPID(a->handle()));
    // One more round trip brings anything else the server had queued for the listener.
    ASSERT_TRUE(sql(*listener, QStringLiteral("SELECT 1")).ok);
    EXPECT_TRUE(notifications(*listener, 0).isEmpty());
}

TEST_F(CloudRecordsTest, ADateComesBackAsTheSameDouble)
{
    const double date = 600000000.123456789;
    const QJsonObject fields{
        {QStringLiteral("finishedAt"), QJsonObject{{QStringLiteral("type"), QStringLiteral("date")},
                                                   {QStringLiteral("value"), date}}}};
    const QString name =
        save(*a, QString::fromUtf8(QJsonDocument(fields).toJson(QJsonDocument::Compact))).first();

    const Sql stored = sql(*a,
                           QStringLiteral("SELECT fields::text,"
                                          " (fields->'finishedAt'->>'value')::float8 = $2::float8 "
                                          "FROM zestra.records WHERE record_name = $1"),
                           {name, QString::number(date, 'g', 17)});
    ASSERT_TRUE(stored.ok) << stored.error.message.toStdString();
    const double back = QJsonDocument::fromJson(stored.rows[0][0].toUtf8())
                            .object()[QStringLiteral("finishedAt")]
                            .toObject()[QStringLiteral("value")]
                            .toDouble();
    EXPECT_EQ(std::memcmp(&back, &date, sizeof date), 0) << std::to_string(back);
    EXPECT_EQ(stored.rows[0][1], QStringLiteral("t"));
}

TEST_F(CloudRecordsTest, UntypedFieldsAndChosenNamesAreNotStored)
{
    const Sql untyped = sql(
        *a, insertRecord, {zoneName, QStringLiteral("Session"), QStringLiteral("{\"count\": 3}")});
    EXPECT_FALSE(untyped.ok);
    EXPECT_EQ(untyped.error.sqlState, QStringLiteral("23514"));
    const Sql named = sql(*a,
                          QStringLiteral("INSERT INTO zestra.records (zone_name, record_type, "
                                         "record_name) VALUES ($1, 'Session', gen_random_uuid())"),
                          {zoneName});
    EXPECT_EQ(named.error.sqlState, insufficientPrivilege);
}
