#include "cloud/CloudSchema.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "cloud/PgConnection.h"

namespace {

// Holds off a second administrator's upgrade until the first has committed.
const QString lockKey = QStringLiteral("720110001");

const QString bootstrap = QStringLiteral("CREATE SCHEMA IF NOT EXISTS zestra;"
                                         "CREATE TABLE IF NOT EXISTS zestra.schema_version ("
                                         "    version integer PRIMARY KEY,"
                                         "    applied_at timestamptz NOT NULL DEFAULT now())");

void rollBack(PgConnection& connection)
{
    CloudError ignored;
    connection.execute(QStringLiteral("ROLLBACK"), {}, ignored);
}

} // namespace

std::optional<QList<CloudSchema::Upgrade>> CloudSchema::bundledUpgrades(CloudError& error)
{
    const QDir folder(QStringLiteral(":/tallycore/cloud/schema"));
    const QRegularExpression pattern(QStringLiteral("^(\\d{4})_\\w+\\.sql$"));
    QList<Upgrade> upgrades;
    for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
        const QRegularExpressionMatch match = pattern.match(name);
        QFile file(folder.filePath(name));
        if (!match.hasMatch() || match.captured(1).toInt() != upgrades.size() + 1 ||
            !file.open(QIODevice::ReadOnly)) {
            error = {CloudError::Kind::BrokenUpgrades,
                     QStringLiteral("the cloud schema file %1 is out of sequence").arg(name),
                     QString()};
            return std::nullopt;
        }
        upgrades.append({static_cast<int>(upgrades.size()) + 1, QString::fromUtf8(file.readAll())});
    }
    if (upgrades.isEmpty()) {
        error = {CloudError::Kind::BrokenUpgrades,
                 QStringLiteral("no cloud schema files are compiled in"), QString()};
        return std::nullopt;
    }
    return upgrades;
}

std::optional<CloudSchema::Outcome> CloudSchema::upgrade(PgConnection& admin, CloudError& error)
{
    const std::optional<QList<Upgrade>> upgrades = bundledUpgrades(error);
    if (!upgrades)
        return std::nullopt;
    return upgrade(admin, *upgrades, error);
}

std::optional<CloudSchema::Outcome>
CloudSchema::upgrade(PgConnection& admin, const QList<Upgrade>& upgrades, CloudError& error)
{
    const std::optional<int> before = installedVersion(admin, error);
    if (!before)
        return std::nullopt;
    const int newest = upgrades.isEmpty() ? 0 : upgrades.last().version;
    for (const Upgrade& upgrade : upgrades) {
        if (!apply(admin, upgrade, newest, error))
            return std::nullopt;
    }
    const std::optional<int> after = installedVersion(admin, error);
    if (!after)
        return std::nullopt;
    return Outcome{*before, *after};
}

bool CloudSchema::apply(PgConnection& admin, const Upgrade& upgrade, int newest, CloudError& error)
{
    if (!admin.execute(QStringLiteral("BEGIN"), {}, error))
        return false;
    const auto fail = [&admin] {
        rollBack(admin);
        return false;
    };
    if (!admin.execute(QStringLiteral("SELECT pg_advisory_xact_lock($1::bigint)"), {lockKey},
                       error) ||
        !admin.executeScript(bootstrap, error))
        return fail();
    const std::optional<QList<QStringList>> recorded =
        admin.query(QStringLiteral("SELECT coalesce(max(version), 0),"
                                   "       count(*) FILTER (WHERE version = $1::integer)"
                                   "  FROM zestra.schema_version"),
                    {QString::number(upgrade.version)}, error);
    if (!recorded)
        return fail();
    const int installed = recorded->first().at(0).toInt();
    if (installed > newest) {
        error = {CloudError::Kind::SchemaNewer,
                 QStringLiteral("the cloud schema is at version %1, newer than this program's %2; "
                                "nothing was changed")
                     .arg(installed)
                     .arg(newest),
                 QString()};
        return fail();
    }
    if (recorded->first().at(1).toInt() > 0)
        return admin.execute(QStringLiteral("COMMIT"), {}, error);
    if (!admin.executeScript(upgrade.script, error)) {
        error.message =
            QStringLiteral("cloud schema upgrade %1 failed: ").arg(upgrade.version) + error.message;
        return fail();
    }
    if (!admin.execute(QStringLiteral("INSERT INTO zestra.schema_version (version) "
                                      "VALUES ($1::integer)"),
                       {QString::number(upgrade.version)}, error) ||
        !admin.execute(QStringLiteral("COMMIT"), {}, error))
        return fail();
    return true;
}

std::optional<int> CloudSchema::installedVersion(PgConnection& connection, CloudError& error)
{
    const std::optional<QList<QStringList>> rows = connection.query(
        QStringLiteral("SELECT to_regclass('zestra.schema_version') IS NOT NULL"), {}, error);
    if (!rows)
        return std::nullopt;
    if (rows->first().first() != QLatin1String("t"))
        return 0;
    const std::optional<QList<QStringList>> version = connection.query(
        QStringLiteral("SELECT coalesce(max(version), 0) FROM zestra.schema_version"), {}, error);
    if (!version)
        return std::nullopt;
    return version->first().first().toInt();
}
